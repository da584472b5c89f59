// Internal: the D3DX mesh object and the byte buffer. A mesh's vertices and indices live in
// a vertex and an index buffer of the device (the pools its options name); its face
// attributes and attribute table live in memory.
//
// Invariant: every index the mesh holds is below its vertex count once the program has
// written the buffers; DrawSubset still lets the device check each draw.
#ifndef VEXA_PLATFORM_D3DX9_MESH_H
#define VEXA_PLATFORM_D3DX9_MESH_H

#include <d3dx9.h>

#include <vector>

namespace vexa::platform::d3dx9 {

class Buffer final : public ID3DXBuffer {
public:
    // Null when the bytes cannot be had.
    static Buffer* Create(DWORD bytes);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;
    LPVOID STDMETHODCALLTYPE GetBufferPointer() override { return bytes_.data(); }
    DWORD STDMETHODCALLTYPE GetBufferSize() override { return DWORD(bytes_.size()); }

private:
    Buffer() = default;
    ~Buffer() = default;
    ULONG references_ = 1;
    std::vector<BYTE> bytes_;
};

class Mesh final : public ID3DXMesh {
public:
    static HRESULT Create(DWORD faces, DWORD vertices, DWORD options,
                          const D3DVERTEXELEMENT9* declaration, IDirect3DDevice9* device,
                          Mesh** out);

    // ---- IUnknown ------------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;

    // ---- mesh.cpp ------------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE DrawSubset(DWORD AttribId) override;
    DWORD STDMETHODCALLTYPE GetNumFaces() override { return faces_; }
    DWORD STDMETHODCALLTYPE GetNumVertices() override { return vertices_; }
    DWORD STDMETHODCALLTYPE GetFVF() override { return fvf_; }
    HRESULT STDMETHODCALLTYPE GetDeclaration(D3DVERTEXELEMENT9 Declaration[MAX_FVF_DECL_SIZE]) override;
    DWORD STDMETHODCALLTYPE GetNumBytesPerVertex() override { return stride_; }
    DWORD STDMETHODCALLTYPE GetOptions() override { return options_; }
    HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECT3DDEVICE9* ppDevice) override;
    HRESULT STDMETHODCALLTYPE GetVertexBuffer(LPDIRECT3DVERTEXBUFFER9* ppVB) override;
    HRESULT STDMETHODCALLTYPE GetIndexBuffer(LPDIRECT3DINDEXBUFFER9* ppIB) override;
    HRESULT STDMETHODCALLTYPE LockVertexBuffer(DWORD Flags, LPVOID* ppData) override;
    HRESULT STDMETHODCALLTYPE UnlockVertexBuffer() override;
    HRESULT STDMETHODCALLTYPE LockIndexBuffer(DWORD Flags, LPVOID* ppData) override;
    HRESULT STDMETHODCALLTYPE UnlockIndexBuffer() override;
    HRESULT STDMETHODCALLTYPE GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable,
                                                DWORD* pAttribTableSize) override;
    HRESULT STDMETHODCALLTYPE LockAttributeBuffer(DWORD Flags, DWORD** ppData) override;
    HRESULT STDMETHODCALLTYPE UnlockAttributeBuffer() override;
    HRESULT STDMETHODCALLTYPE SetAttributeTable(const D3DXATTRIBUTERANGE* pAttribTable,
                                                DWORD cAttribTableSize) override;

    // ---- mesh_operations.cpp -------------------------------------------------------
    HRESULT STDMETHODCALLTYPE CloneMeshFVF(DWORD Options, DWORD FVF, LPDIRECT3DDEVICE9 pD3DDevice,
                                           LPD3DXMESH* ppCloneMesh) override;
    HRESULT STDMETHODCALLTYPE CloneMesh(DWORD Options, const D3DVERTEXELEMENT9* pDeclaration,
                                        LPDIRECT3DDEVICE9 pD3DDevice,
                                        LPD3DXMESH* ppCloneMesh) override;
    HRESULT STDMETHODCALLTYPE GenerateAdjacency(FLOAT Epsilon, DWORD* pAdjacency) override;
    HRESULT STDMETHODCALLTYPE OptimizeInplace(DWORD Flags, const DWORD* pAdjacencyIn,
                                              DWORD* pAdjacencyOut, DWORD* pFaceRemap,
                                              LPD3DXBUFFER* ppVertexRemap) override;

    // For the loaders: the face indices as 32-bit values, and their replacement.
    std::vector<DWORD> Indices();
    void SetIndicesFrom(const std::vector<DWORD>& indices);
    std::vector<DWORD>& Attributes() { return attributes_; }

private:
    Mesh(IDirect3DDevice9* device, DWORD faces, DWORD vertices, DWORD options);
    ~Mesh();
    // Draws faces [first, first + count) with the vertex range they use.
    HRESULT DrawFaces(DWORD first, DWORD count);

    IDirect3DDevice9* device_;
    ULONG references_ = 1;
    DWORD faces_, vertices_, options_;
    std::vector<D3DVERTEXELEMENT9> declaration_;  // end marker included
    DWORD fvf_ = 0;                                // 0: the declaration spells no format
    UINT stride_ = 0;
    IDirect3DVertexBuffer9* vertexBuffer_ = nullptr;
    IDirect3DIndexBuffer9* indexBuffer_ = nullptr;
    std::vector<DWORD> attributes_;
    std::vector<D3DXATTRIBUTERANGE> table_;
    int attributeLocks_ = 0;
};

}  // namespace vexa::platform::d3dx9

#endif
