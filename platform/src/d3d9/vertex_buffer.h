// Internal: vertex buffers. The bytes live in memory, where Lock points; what the locks
// wrote goes to the OpenGL buffer when a draw reads it. Every pool gets an OpenGL buffer,
// since Direct3D draws from system-memory buffers too.
#ifndef VEXA_PLATFORM_D3D9_VERTEX_BUFFER_H
#define VEXA_PLATFORM_D3D9_VERTEX_BUFFER_H

#include "resource.h"

#include <epoxy/gl.h>

#include <vector>

namespace vexa::platform::d3d9 {

class VertexBuffer final : public Resource<IDirect3DVertexBuffer9> {
public:
    static HRESULT Create(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                          IDirect3DVertexBuffer9** out);

    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT STDMETHODCALLTYPE Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData,
                                   DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DVERTEXBUFFER_DESC* pDesc) override;

    GLuint Gl() const { return buffer_; }
    // Sends OpenGL the bytes of [begin, end) written since it last had them, before a
    // draw that reads that range; the device's context must be current.
    void Upload(UINT begin, UINT end);
    UINT Size() const { return UINT(bytes_.size()); }

protected:
    bool Implements(REFIID riid) const override;

private:
    VertexBuffer(Device* device, D3DPOOL pool, DWORD usage, DWORD fvf);
    ~VertexBuffer() override;

    DWORD usage_;
    DWORD fvf_;
    std::vector<BYTE> bytes_;
    GLuint buffer_ = 0;
    // Locks nest; the union of their ranges joins the pending bytes at the last Unlock.
    int locks_ = 0;
    UINT dirtyBegin_ = 0, dirtyEnd_ = 0;
    // Invariant: every byte OpenGL holds differently from bytes_ lies in [pendingBegin_,
    // pendingEnd_); the range may be wider than the bytes that differ.
    UINT pendingBegin_ = 0, pendingEnd_ = 0;
};

VertexBuffer* AsVertexBuffer(IDirect3DVertexBuffer9* buffer);

}  // namespace vexa::platform::d3d9

#endif
