// CAllocateHierarchy: the allocator D3DXLoadMeshHierarchyFromXA builds a model's frames and
// mesh containers through, and D3DXFrameDestroy hands them back to.
#ifndef VEXA_ALLOCATEHIERARCHY_H
#define VEXA_ALLOCATEHIERARCHY_H

#include <d3dx9.h>

// A frame: the D3DX record followed by the frame's matrix combined with those above it.
struct MeshFrame : public D3DXFRAME {
    D3DXMATRIX combinedTransformationMatrix;
};

// A mesh container with what skinned drawing needs beside the D3DX record.
struct MeshContainer : public D3DXMESHCONTAINER {
    D3DXMATRIX* boneOffsetMatrices;      // one per bone, copied from the skin information
    D3DXMATRIX** boneMatrixPointers;     // into the frames named by the bones (linked later)
    DWORD paletteSize;                   // matrices of the blended mesh's palette
    DWORD maxVertexInfluences;
    DWORD boneCombinationCount;
    ID3DXBuffer* boneCombinations;
};

// The most matrices a blended mesh's palette holds.
#define MESH_MAX_PALETTE 26

class CAllocateHierarchy : public ID3DXAllocateHierarchy {
public:
    STDMETHOD(CreateFrame)(LPCSTR Name, LPD3DXFRAME* ppNewFrame) override;
    STDMETHOD(CreateMeshContainer)(LPCSTR Name, const D3DXMESHDATA* pMeshData,
                                   const D3DXMATERIAL* pMaterials,
                                   const D3DXEFFECTINSTANCE* pEffectInstances,
                                   DWORD NumMaterials, const DWORD* pAdjacency,
                                   LPD3DXSKININFO pSkinInfo,
                                   LPD3DXMESHCONTAINER* ppNewMeshContainer) override;
    STDMETHOD(DestroyFrame)(LPD3DXFRAME pFrameToFree) override;
    STDMETHOD(DestroyMeshContainer)(LPD3DXMESHCONTAINER pMeshContainerToFree) override;

    virtual ~CAllocateHierarchy() = default;
};

#endif
