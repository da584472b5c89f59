// d3dx9mesh.h: D3DX meshes, the subset the engine uses. A mesh holds a vertex buffer, an
// index buffer (16-bit, or 32-bit with D3DXMESH_32BIT), an attribute per face (the
// subset it belongs to) and, after OptimizeInplace with D3DXMESHOPT_ATTRSORT, an
// attribute table that DrawSubset draws from. .x files are read through Assimp.
//
// Not here: progressive and patch meshes, Optimize (into a new mesh), point
// representatives, effect instances from files (always empty). Vertex-cache and strip
// reordering are accepted and leave the order of faces within a subset as it is.
#ifndef VEXA_PLATFORM_D3DX9MESH_H
#define VEXA_PLATFORM_D3DX9MESH_H

#include <d3d9.h>
#include <d3dx9math.h>

#define MAX_FVF_DECL_SIZE (MAXD3DDECLLENGTH + 1)

enum _D3DXMESH {
    D3DXMESH_32BIT = 0x001,
    D3DXMESH_DONOTCLIP = 0x002,
    D3DXMESH_POINTS = 0x004,
    D3DXMESH_RTPATCHES = 0x008,
    D3DXMESH_NPATCHES = 0x4000,
    D3DXMESH_VB_SYSTEMMEM = 0x010,
    D3DXMESH_VB_MANAGED = 0x020,
    D3DXMESH_VB_WRITEONLY = 0x040,
    D3DXMESH_VB_DYNAMIC = 0x080,
    D3DXMESH_VB_SOFTWAREPROCESSING = 0x8000,
    D3DXMESH_IB_SYSTEMMEM = 0x100,
    D3DXMESH_IB_MANAGED = 0x200,
    D3DXMESH_IB_WRITEONLY = 0x400,
    D3DXMESH_IB_DYNAMIC = 0x800,
    D3DXMESH_IB_SOFTWAREPROCESSING = 0x10000,
    D3DXMESH_VB_SHARE = 0x1000,
    D3DXMESH_USEHWONLY = 0x2000,
    D3DXMESH_SYSTEMMEM = 0x110,
    D3DXMESH_MANAGED = 0x220,
    D3DXMESH_WRITEONLY = 0x440,
    D3DXMESH_DYNAMIC = 0x880,
    D3DXMESH_SOFTWAREPROCESSING = 0x18000,
};

enum _D3DXMESHOPT {
    D3DXMESHOPT_DEVICEINDEPENDENT = 0x00400000,
    D3DXMESHOPT_COMPACT = 0x01000000,
    D3DXMESHOPT_ATTRSORT = 0x02000000,
    D3DXMESHOPT_VERTEXCACHE = 0x04000000,
    D3DXMESHOPT_STRIPREORDER = 0x08000000,
    D3DXMESHOPT_IGNOREVERTS = 0x10000000,
    D3DXMESHOPT_DONOTSPLIT = 0x20000000,
};

typedef enum _D3DXMESHDATATYPE {
    D3DXMESHTYPE_MESH = 0x001,
    D3DXMESHTYPE_PMESH = 0x002,
    D3DXMESHTYPE_PATCHMESH = 0x003,
    D3DXMESHTYPE_FORCE_DWORD = 0x7fffffff
} D3DXMESHDATATYPE;

typedef struct _D3DXATTRIBUTERANGE {
    DWORD AttribId;
    DWORD FaceStart;
    DWORD FaceCount;
    DWORD VertexStart;
    DWORD VertexCount;
} D3DXATTRIBUTERANGE, *LPD3DXATTRIBUTERANGE;

typedef struct _D3DXMATERIAL {
    D3DMATERIAL9 MatD3D;
    LPSTR pTextureFilename;
} D3DXMATERIAL, *LPD3DXMATERIAL;

typedef enum _D3DXEFFECTDEFAULTTYPE {
    D3DXEDT_STRING = 0x1,
    D3DXEDT_FLOATS = 0x2,
    D3DXEDT_DWORD = 0x3,
    D3DXEDT_FORCEDWORD = 0x7fffffff
} D3DXEFFECTDEFAULTTYPE;

typedef struct _D3DXEFFECTDEFAULT {
    LPSTR pParamName;
    D3DXEFFECTDEFAULTTYPE Type;
    DWORD NumBytes;
    LPVOID pValue;
} D3DXEFFECTDEFAULT, *LPD3DXEFFECTDEFAULT;

typedef struct _D3DXEFFECTINSTANCE {
    LPSTR pEffectFilename;
    DWORD NumDefaults;
    LPD3DXEFFECTDEFAULT pDefaults;
} D3DXEFFECTINSTANCE, *LPD3DXEFFECTINSTANCE;

struct ID3DXBuffer;
struct ID3DXBaseMesh;
struct ID3DXMesh;
struct ID3DXSkinInfo;
typedef ID3DXBuffer *LPD3DXBUFFER;
typedef ID3DXBaseMesh *LPD3DXBASEMESH;
typedef ID3DXMesh *LPD3DXMESH;
typedef ID3DXSkinInfo *LPD3DXSKININFO;

DEFINE_GUID(IID_ID3DXBuffer, 0x8BA5FB08, 0x5195, 0x40E2, 0xAC, 0x58, 0x0D, 0x98, 0x9C, 0x3A,
            0x01, 0x02);
DEFINE_GUID(IID_ID3DXBaseMesh, 0x7ED943DD, 0x52E8, 0x40B5, 0xA8, 0xD8, 0x76, 0x68, 0x5C, 0x40,
            0x63, 0x30);
DEFINE_GUID(IID_ID3DXMesh, 0x4020E5C2, 0x1403, 0x4929, 0x88, 0x3F, 0xE2, 0xE8, 0x49, 0xFA,
            0xC1, 0x95);

// A block of bytes: materials, adjacency, remaps.
struct ID3DXBuffer : public IUnknown {
    STDMETHOD_(LPVOID, GetBufferPointer)() PURE;
    STDMETHOD_(DWORD, GetBufferSize)() PURE;
};

struct ID3DXBaseMesh : public IUnknown {
    STDMETHOD(DrawSubset)(DWORD AttribId) PURE;
    STDMETHOD_(DWORD, GetNumFaces)() PURE;
    STDMETHOD_(DWORD, GetNumVertices)() PURE;
    STDMETHOD_(DWORD, GetFVF)() PURE;
    STDMETHOD(GetDeclaration)(D3DVERTEXELEMENT9 Declaration[MAX_FVF_DECL_SIZE]) PURE;
    STDMETHOD_(DWORD, GetNumBytesPerVertex)() PURE;
    STDMETHOD_(DWORD, GetOptions)() PURE;
    STDMETHOD(GetDevice)(LPDIRECT3DDEVICE9* ppDevice) PURE;
    STDMETHOD(CloneMeshFVF)(DWORD Options, DWORD FVF, LPDIRECT3DDEVICE9 pD3DDevice,
                            LPD3DXMESH* ppCloneMesh) PURE;
    STDMETHOD(CloneMesh)(DWORD Options, const D3DVERTEXELEMENT9* pDeclaration,
                         LPDIRECT3DDEVICE9 pD3DDevice, LPD3DXMESH* ppCloneMesh) PURE;
    STDMETHOD(GetVertexBuffer)(LPDIRECT3DVERTEXBUFFER9* ppVB) PURE;
    STDMETHOD(GetIndexBuffer)(LPDIRECT3DINDEXBUFFER9* ppIB) PURE;
    STDMETHOD(LockVertexBuffer)(DWORD Flags, LPVOID* ppData) PURE;
    STDMETHOD(UnlockVertexBuffer)() PURE;
    STDMETHOD(LockIndexBuffer)(DWORD Flags, LPVOID* ppData) PURE;
    STDMETHOD(UnlockIndexBuffer)() PURE;
    STDMETHOD(GetAttributeTable)(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) PURE;
    // Faces sharing an edge (by vertex positions within Epsilon): 3 entries per face,
    // 0xFFFFFFFF where an edge has no neighbour.
    STDMETHOD(GenerateAdjacency)(FLOAT Epsilon, DWORD* pAdjacency) PURE;
};

struct ID3DXMesh : public ID3DXBaseMesh {
    STDMETHOD(LockAttributeBuffer)(DWORD Flags, DWORD** ppData) PURE;
    STDMETHOD(UnlockAttributeBuffer)() PURE;
    STDMETHOD(OptimizeInplace)(DWORD Flags, const DWORD* pAdjacencyIn, DWORD* pAdjacencyOut,
                               DWORD* pFaceRemap, LPD3DXBUFFER* ppVertexRemap) PURE;
    STDMETHOD(SetAttributeTable)(const D3DXATTRIBUTERANGE* pAttribTable,
                                 DWORD cAttribTableSize) PURE;
};

// Bones of a skinned mesh. The platform reads no skin data, so it never makes one; the
// interface is here for hierarchy allocators written against D3DX.
struct ID3DXSkinInfo : public IUnknown {
    STDMETHOD_(DWORD, GetNumBones)() PURE;
    STDMETHOD_(LPCSTR, GetBoneName)(DWORD Bone) PURE;
    STDMETHOD_(LPD3DXMATRIX, GetBoneOffsetMatrix)(DWORD Bone) PURE;
    STDMETHOD(ConvertToIndexedBlendedMesh)(LPD3DXMESH pMesh, DWORD Options, DWORD paletteSize,
                                           const DWORD* pAdjacencyIn, LPDWORD pAdjacencyOut,
                                           DWORD* pFaceRemap, LPD3DXBUFFER* ppVertexRemap,
                                           DWORD* pMaxVertexInfl, DWORD* pNumBoneCombinations,
                                           LPD3DXBUFFER* ppBoneCombinationTable,
                                           LPD3DXMESH* ppMesh) PURE;
};

WINAPI_EXPORT HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer);

WINAPI_EXPORT HRESULT WINAPI D3DXCreateMesh(DWORD NumFaces, DWORD NumVertices, DWORD Options,
                                            const D3DVERTEXELEMENT9* pDeclaration,
                                            LPDIRECT3DDEVICE9 pD3DDevice, LPD3DXMESH* ppMesh);
WINAPI_EXPORT HRESULT WINAPI D3DXCreateMeshFVF(DWORD NumFaces, DWORD NumVertices, DWORD Options,
                                               DWORD FVF, LPDIRECT3DDEVICE9 pD3DDevice,
                                               LPD3DXMESH* ppMesh);

// Vertex normals as the normalised sum of the normals of the faces around each vertex
// (faces wound clockwise face their normal). The mesh needs a FLOAT3 normal element;
// the adjacency may be null and is not needed.
WINAPI_EXPORT HRESULT WINAPI D3DXComputeNormals(LPD3DXBASEMESH pMesh, const DWORD* pAdjacency);

WINAPI_EXPORT HRESULT WINAPI D3DXDeclaratorFromFVF(DWORD FVF,
                                                   D3DVERTEXELEMENT9 pDeclarator[MAX_FVF_DECL_SIZE]);
WINAPI_EXPORT HRESULT WINAPI D3DXFVFFromDeclarator(const D3DVERTEXELEMENT9* pDeclarator,
                                                   DWORD* pFVF);
WINAPI_EXPORT UINT WINAPI D3DXGetFVFVertexSize(DWORD FVF);
WINAPI_EXPORT UINT WINAPI D3DXGetDeclVertexSize(const D3DVERTEXELEMENT9* pDecl, DWORD Stream);

// One mesh from a .x file: every mesh of its frames, placed by the frames' matrices,
// with one subset per material (materials hold their texture file names, as written in
// the file). A file without faces answers D3DXERR_LOADEDMESHHASNODATA, one that cannot be
// read D3DXERR_INVALIDDATA. ppEffectInstances receives one empty instance per material.
WINAPI_EXPORT HRESULT WINAPI D3DXLoadMeshFromXA(LPCSTR pFilename, DWORD Options,
                                                LPDIRECT3DDEVICE9 pD3DDevice,
                                                LPD3DXBUFFER* ppAdjacency,
                                                LPD3DXBUFFER* ppMaterials,
                                                LPD3DXBUFFER* ppEffectInstances,
                                                DWORD* pNumMaterials, LPD3DXMESH* ppMesh);
#define D3DXLoadMeshFromX D3DXLoadMeshFromXA

#endif
