// Vertex buffers: memory plus an OpenGL buffer. The bytes a lock wrote go over when a
// draw reads them, and only those the draw reads: a text line locks its whole 86 KB
// buffer and fills a few hundred bytes of it. A discarding lock keeps the storage.
// Giving the buffer new storage at every discard (orphaning) made the next draw
// revalidate its vertex input in the driver, three times the cost of the draw itself on
// llvmpipe; an upload into storage that a queued draw still reads is the driver's to
// stage.
#include "vertex_buffer.h"

#include "device.h"

#include <algorithm>
#include <new>

namespace vexa::platform::d3d9 {

VertexBuffer* AsVertexBuffer(IDirect3DVertexBuffer9* buffer)
{
    return dynamic_cast<VertexBuffer*>(buffer);
}

HRESULT VertexBuffer::Create(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer9** out)
{
    if (!out)
        return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (length == 0 || length > (1u << 30) || pool > D3DPOOL_SCRATCH ||
        ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED))
        return D3DERR_INVALIDCALL;
    VertexBuffer* vb = new (std::nothrow) VertexBuffer(device, pool, usage, fvf);
    if (!vb)
        return E_OUTOFMEMORY;
    try {
        vb->bytes_.assign(length, 0);
    } catch (const std::bad_alloc&) {
        vb->Release();
        return E_OUTOFMEMORY;
    }
    device->MakeCurrent();
    glGenBuffers(1, &vb->buffer_);
    device->Gl().BindArrayBuffer(vb->buffer_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(length), vb->bytes_.data(),
                 (usage & D3DUSAGE_DYNAMIC) ? GL_STREAM_DRAW : GL_STATIC_DRAW);
    if (glGetError() != GL_NO_ERROR) {
        vb->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *out = vb;
    return D3D_OK;
}

VertexBuffer::VertexBuffer(Device* device, D3DPOOL pool, DWORD usage, DWORD fvf)
    : Resource(device, pool), usage_(usage), fvf_(fvf)
{
}

VertexBuffer::~VertexBuffer()
{
    if (buffer_) {
        device_->MakeCurrent();
        glDeleteBuffers(1, &buffer_);
        device_->Gl().Forget(0, buffer_);
    }
}

bool VertexBuffer::Implements(REFIID riid) const
{
    return riid == IID_IDirect3DResource9 || riid == IID_IDirect3DVertexBuffer9;
}

HRESULT VertexBuffer::Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags)
{
    if (!ppbData)
        return D3DERR_INVALIDCALL;
    *ppbData = nullptr;
    const UINT size = Size();
    // Size 0 locks the rest of the buffer.
    if (OffsetToLock > size || (SizeToLock && SizeToLock > size - OffsetToLock))
        return D3DERR_INVALIDCALL;
    const UINT end = SizeToLock ? OffsetToLock + SizeToLock : size;
    const bool writes = !(Flags & D3DLOCK_READONLY);
    if (locks_ == 0) {
        dirtyBegin_ = dirtyEnd_ = 0;
    }
    if (writes) {
        if (dirtyBegin_ == dirtyEnd_) {
            dirtyBegin_ = OffsetToLock;
            dirtyEnd_ = end;
        } else {
            dirtyBegin_ = std::min(dirtyBegin_, OffsetToLock);
            dirtyEnd_ = std::max(dirtyEnd_, end);
        }
    }
    ++locks_;
    *ppbData = bytes_.data() + OffsetToLock;
    return D3D_OK;
}

HRESULT VertexBuffer::Unlock()
{
    if (locks_ == 0)
        return D3DERR_INVALIDCALL;
    if (--locks_ > 0 || dirtyBegin_ == dirtyEnd_)
        return D3D_OK;
    if (pendingBegin_ == pendingEnd_) {
        pendingBegin_ = dirtyBegin_;
        pendingEnd_ = dirtyEnd_;
    } else {
        pendingBegin_ = std::min(pendingBegin_, dirtyBegin_);
        pendingEnd_ = std::max(pendingEnd_, dirtyEnd_);
    }
    dirtyBegin_ = dirtyEnd_ = 0;
    return D3D_OK;
}

void VertexBuffer::Upload(UINT begin, UINT end)
{
    begin = std::max(begin, pendingBegin_);
    end = std::min(end, pendingEnd_);
    if (begin >= end)
        return;
    device_->Gl().BindArrayBuffer(buffer_);
    glBufferSubData(GL_ARRAY_BUFFER, GLintptr(begin), GLsizeiptr(end - begin),
                    bytes_.data() + begin);
    // A part sent from inside the pending range leaves the range whole: sent again later.
    if (begin == pendingBegin_)
        pendingBegin_ = end;
    else if (end == pendingEnd_)
        pendingEnd_ = begin;
    if (pendingBegin_ >= pendingEnd_)
        pendingBegin_ = pendingEnd_ = 0;
}

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* pDesc)
{
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    *pDesc = D3DVERTEXBUFFER_DESC{D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, usage_, pool_, Size(),
                                  fvf_};
    return D3D_OK;
}

}  // namespace vexa::platform::d3d9
