// Internal: .x files read through Assimp, and what both .x loaders build from them.
//
// Assimp turns a .x file's left-handed data right-handed; the reading asks it to keep
// Direct3D's conventions instead (positions, clockwise winding and texture coordinates as
// written), so vertices come out as D3DX would load them. Assimp splits a .x mesh into
// one mesh per material; the builders join them again with one attribute per material.
#ifndef VEXA_PLATFORM_D3DX9_X_SCENE_H
#define VEXA_PLATFORM_D3DX9_X_SCENE_H

#include "mesh.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <vector>

namespace vexa::platform::d3dx9 {

struct XScene {
    Assimp::Importer importer;
    const aiScene* scene = nullptr;  // owned by importer
};

// D3D_OK, D3DXERR_INVALIDDATA (missing or unreadable file, not a .x file, or one Assimp
// refuses) or E_OUTOFMEMORY.
HRESULT ReadXScene(const char* path, XScene* out);

// A mesh of the scene, placed by a matrix (row vectors, as Direct3D's).
struct XPart {
    const aiMesh* mesh;
    D3DXMATRIX place;
};

// One mesh of the parts' triangles; a face's attribute is slotOfMaterial[its material].
// D3DXERR_LOADEDMESHHASNODATA when the parts hold no triangle.
HRESULT BuildMesh(const std::vector<XPart>& parts, const std::vector<DWORD>& slotOfMaterial,
                  DWORD options, IDirect3DDevice9* device, Mesh** out);

// D3DXMATERIAL records for the scene's materials listed, their texture names after them
// in the same buffer (null when a material has none).
HRESULT BuildMaterials(const aiScene* scene, const std::vector<unsigned>& materials,
                       ID3DXBuffer** out);

// count empty effect instances.
HRESULT BuildEffects(DWORD count, ID3DXBuffer** out);

// Assimp's column-vector matrix as Direct3D's row-vector one.
D3DXMATRIX MatrixOf(const aiMatrix4x4& m);

}  // namespace vexa::platform::d3dx9

#endif
