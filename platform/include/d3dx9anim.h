// d3dx9anim.h: frame hierarchies from .x files, built through the caller's allocator.
//
// Not here: animation. D3DXLoadMeshHierarchyFromXA refuses a file that holds animation
// sets or skin weights with D3DXERR_SKINNINGNOTSUPPORTED (nothing is allocated), so a
// caller falls back to D3DXLoadMeshFromXA for its static shape; no animation controller
// is ever made and *ppAnimController is always set to null.
#ifndef VEXA_PLATFORM_D3DX9ANIM_H
#define VEXA_PLATFORM_D3DX9ANIM_H

#include <d3dx9mesh.h>

struct ID3DXPMesh;
struct ID3DXPatchMesh;
struct ID3DXAnimationController;
struct ID3DXLoadUserData;
typedef ID3DXPMesh *LPD3DXPMESH;
typedef ID3DXPatchMesh *LPD3DXPATCHMESH;
typedef ID3DXAnimationController *LPD3DXANIMATIONCONTROLLER;
typedef ID3DXLoadUserData *LPD3DXLOADUSERDATA;

typedef struct _D3DXMESHDATA {
    D3DXMESHDATATYPE Type;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
    union {
        LPD3DXMESH pMesh;
        LPD3DXPMESH pPMesh;
        LPD3DXPATCHMESH pPatchMesh;
    };
#pragma GCC diagnostic pop
} D3DXMESHDATA, *LPD3DXMESHDATA;

typedef struct _D3DXMESHCONTAINER {
    LPSTR Name;
    D3DXMESHDATA MeshData;
    LPD3DXMATERIAL pMaterials;
    LPD3DXEFFECTINSTANCE pEffects;
    DWORD NumMaterials;
    DWORD* pAdjacency;
    LPD3DXSKININFO pSkinInfo;
    struct _D3DXMESHCONTAINER* pNextMeshContainer;
} D3DXMESHCONTAINER, *LPD3DXMESHCONTAINER;

typedef struct _D3DXFRAME {
    LPSTR Name;
    D3DXMATRIX TransformationMatrix;
    LPD3DXMESHCONTAINER pMeshContainer;
    struct _D3DXFRAME* pFrameSibling;
    struct _D3DXFRAME* pFrameFirstChild;
} D3DXFRAME, *LPD3DXFRAME;

// Made by the program: the loader asks it for every frame and mesh container, and
// D3DXFrameDestroy hands them back.
struct ID3DXAllocateHierarchy {
    STDMETHOD(CreateFrame)(LPCSTR Name, LPD3DXFRAME* ppNewFrame) PURE;
    STDMETHOD(CreateMeshContainer)(LPCSTR Name, const D3DXMESHDATA* pMeshData,
                                   const D3DXMATERIAL* pMaterials,
                                   const D3DXEFFECTINSTANCE* pEffectInstances,
                                   DWORD NumMaterials, const DWORD* pAdjacency,
                                   LPD3DXSKININFO pSkinInfo,
                                   LPD3DXMESHCONTAINER* ppNewMeshContainer) PURE;
    STDMETHOD(DestroyFrame)(LPD3DXFRAME pFrameToFree) PURE;
    STDMETHOD(DestroyMeshContainer)(LPD3DXMESHCONTAINER pMeshContainerToFree) PURE;

protected:
    ~ID3DXAllocateHierarchy() = default;
};
typedef ID3DXAllocateHierarchy *LPD3DXALLOCATEHIERARCHY;

// Never made by the platform (see above); declared for the loader's signature.
struct ID3DXAnimationController : public IUnknown {
};

// The frames of the file in its order (children, then siblings). Mesh containers get
// the frame's meshes joined into one mesh with a subset per material; the mesh is
// handed to CreateMeshContainer, which references it if it keeps it. A user-data loader
// is accepted and never called (the platform reads no custom templates).
WINAPI_EXPORT HRESULT WINAPI D3DXLoadMeshHierarchyFromXA(
    LPCSTR Filename, DWORD MeshOptions, LPDIRECT3DDEVICE9 pD3DDevice,
    LPD3DXALLOCATEHIERARCHY pAlloc, LPD3DXLOADUSERDATA pUserDataLoader,
    LPD3DXFRAME* ppFrameHierarchy, LPD3DXANIMATIONCONTROLLER* ppAnimController);
#define D3DXLoadMeshHierarchyFromX D3DXLoadMeshHierarchyFromXA

// Hands every frame and mesh container below (and including) the root to the allocator.
WINAPI_EXPORT HRESULT WINAPI D3DXFrameDestroy(LPD3DXFRAME pFrameRoot,
                                              LPD3DXALLOCATEHIERARCHY pAlloc);
// The first frame named Name, depth first; null when none (or for a null name).
WINAPI_EXPORT LPD3DXFRAME WINAPI D3DXFrameFind(const D3DXFRAME* pFrameRoot, LPCSTR Name);

#endif
