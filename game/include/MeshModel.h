// CMeshModel: one model the game draws (the tiles' "plane.x" and "frame.x"): a D3DX mesh
// loaded from a .x file (the hierarchical loader first, the plain one as fallback) or a
// simple Wavefront .obj file, with its materials and textures, drawn subset by subset.
//
// Texture substitution: a caller may store a texture in textures[0] around a Render and
// set it back; the textures the model loaded are owned apart from the slots, so they are
// released exactly once whatever the slots hold.
#ifndef VEXA_MESHMODEL_H
#define VEXA_MESHMODEL_H

#include "AllocateHierarchy.h"

#include <d3dx9.h>

// At most this many materials (subsets) and attribute ranges a model keeps.
#define MESH_MAX_MATERIALS 256
#define MESH_MAX_ATTRIBUTES 2048
// Bytes of a material's texture file name buffer.
#define MESH_TEXTURE_NAME_SIZE 260

struct MeshMaterial {
    D3DMATERIAL9 material;
    char* textureName;  // MESH_TEXTURE_NAME_SIZE bytes, "" when the material has none
};

class CMeshModel {
public:
    D3DXFRAME* frameRoot;                      // null for static meshes
    ID3DXAnimationController* animController;  // null for static meshes
    DWORD faceCount;
    DWORD vertexCount;
    D3DVERTEXELEMENT9 declaration[MAX_FVF_DECL_SIZE];
    D3DXATTRIBUTERANGE attributeTable[MESH_MAX_ATTRIBUTES];
    DWORD attributeCount;
    IDirect3DVertexBuffer9* vertexBuffer;
    IDirect3DIndexBuffer9* indexBuffer;
    ID3DXMesh* mesh;                                    // null until loaded
    IDirect3DTexture9* textures[MESH_MAX_MATERIALS];   // drawn per material, null = none
    MeshMaterial* materials;                            // materialCount entries
    DWORD materialCount;

    CMeshModel();
    ~CMeshModel();
    CMeshModel(const CMeshModel&) = delete;
    CMeshModel& operator=(const CMeshModel&) = delete;

    // Loads kvPath + fileName: ".obj" (any case) through LoadObjMesh, anything else as a
    // .x file. Failures raise an engine exception and leave the model empty.
    void Load(const char* fileName);
    // The .obj reader: positions and triangles only.
    void LoadObjMesh(const char* path);
    // Sets each material and its texture on stage 0 and draws its subset; nothing
    // without a mesh. highlight is unused (the game passes false).
    void Render(bool highlight);
    // Frees everything; the model can be loaded again.
    void Destroy();

private:
    void LoadXMesh(const char* fileName, const char* path);
    bool LoadHierarchy(const char* path);
    void LoadPlain(const char* path);
    void TakeMaterials(const D3DXMATERIAL* source, DWORD count);
    void Optimize();

    CAllocateHierarchy allocator;
    // The textures the model loaded, each once; released by Destroy.
    IDirect3DTexture9* ownedTextures[MESH_MAX_MATERIALS];
    DWORD ownedCount;
};

#endif
