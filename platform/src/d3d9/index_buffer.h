// Internal: index buffers of 16- or 32-bit indices. As with vertex buffers, the indices
// live in memory where Lock points, and Unlock sends the locked range to the OpenGL buffer
// the indexed draws read. The memory copy also lets a draw check every index it uses
// against the vertices it has.
#ifndef VEXA_PLATFORM_D3D9_INDEX_BUFFER_H
#define VEXA_PLATFORM_D3D9_INDEX_BUFFER_H

#include "resource.h"

#include <epoxy/gl.h>

#include <vector>

namespace vexa::platform::d3d9 {

class IndexBuffer final : public Resource<IDirect3DIndexBuffer9> {
public:
    static HRESULT Create(Device* device, UINT length, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DIndexBuffer9** out);

    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT STDMETHODCALLTYPE Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData,
                                   DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DINDEXBUFFER_DESC* pDesc) override;

    GLuint Gl() const { return buffer_; }
    UINT Size() const { return UINT(bytes_.size()); }
    UINT IndexSize() const { return format_ == D3DFMT_INDEX32 ? 4 : 2; }
    UINT Count() const { return Size() / IndexSize(); }
    // The largest of count indices from first on; pre: first + count <= Count().
    UINT MaxIndex(UINT first, UINT count) const;

protected:
    bool Implements(REFIID riid) const override;

private:
    IndexBuffer(Device* device, D3DPOOL pool, DWORD usage, D3DFORMAT format);
    ~IndexBuffer() override;

    DWORD usage_;
    D3DFORMAT format_;
    std::vector<BYTE> bytes_;
    GLuint buffer_ = 0;
    int locks_ = 0;
    UINT dirtyBegin_ = 0, dirtyEnd_ = 0;
};

IndexBuffer* AsIndexBuffer(IDirect3DIndexBuffer9* buffer);

}  // namespace vexa::platform::d3d9

#endif
