// Internal: .x files as plain data, read through Assimp in a child process, and what both
// .x loaders build from them.
//
// Assimp's .x reader is not safe on malformed files (some crash it, some make it leak),
// so it runs in a forked child that sends the scene back through a pipe in a small
// binary form; a child that crashes, hangs past its time or sends a scene that does not
// hold together counts as a file that cannot be read. The parent checks every count and
// index it receives. The reader asks Assimp to keep Direct3D's conventions (positions,
// clockwise winding and texture coordinates as written); Assimp splits a .x mesh into
// one mesh per material, and the builders join them again with one attribute per material.
#ifndef VEXA_PLATFORM_D3DX9_X_SCENE_H
#define VEXA_PLATFORM_D3DX9_X_SCENE_H

#include "mesh.h"

#include <string>
#include <vector>

namespace vexa::platform::d3dx9 {

struct XMaterial {
    D3DCOLORVALUE diffuse, specular, emissive;
    float power;
    std::string texture;  // "" for none
};

struct XMesh {
    std::vector<D3DXVECTOR3> positions;
    std::vector<D3DXVECTOR3> normals;  // empty, or one per position
    std::vector<float> texcoords;      // empty, or two per position
    std::vector<D3DCOLOR> colors;      // empty, or one per position
    std::vector<DWORD> triangles;      // three indices a face, each below the position count
    DWORD material;                    // below the scene's material count
};

// Nodes are stored depth first; a child always comes after its parent, node 0 is the root.
struct XNode {
    std::string name;
    D3DXMATRIX matrix;  // row vectors, as Direct3D's
    std::vector<DWORD> meshes;
    std::vector<DWORD> children;
};

struct XScene {
    std::vector<XNode> nodes;
    std::vector<XMesh> meshes;
    std::vector<XMaterial> materials;
    bool animated = false;  // animation sets or skin weights
};

// D3D_OK, D3DXERR_INVALIDDATA (missing or unreadable file, not a .x file, one Assimp
// refuses or fails on) or E_OUTOFMEMORY.
HRESULT ReadXScene(const char* path, XScene* out);

// A mesh of the scene, placed by a matrix.
struct XPart {
    const XMesh* mesh;
    D3DXMATRIX place;
};

// One mesh of the parts' triangles; a face's attribute is slotOfMaterial[its material].
// D3DXERR_LOADEDMESHHASNODATA when the parts hold no triangle.
HRESULT BuildMesh(const std::vector<XPart>& parts, const std::vector<DWORD>& slotOfMaterial,
                  DWORD options, IDirect3DDevice9* device, Mesh** out);

// D3DXMATERIAL records for the scene's materials listed, their texture names after them
// in the same buffer (null when a material has none).
HRESULT BuildMaterials(const XScene& scene, const std::vector<unsigned>& materials,
                       ID3DXBuffer** out);

// count empty effect instances.
HRESULT BuildEffects(DWORD count, ID3DXBuffer** out);

}  // namespace vexa::platform::d3dx9

#endif
