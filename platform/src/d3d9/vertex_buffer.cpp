// Vertex buffers: memory plus an OpenGL buffer. A discarding lock orphans the OpenGL
// storage so a draw still reading the old contents is not waited for.
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
        discard_ = false;
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
    if ((Flags & D3DLOCK_DISCARD) && (usage_ & D3DUSAGE_DYNAMIC))
        discard_ = true;
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
    device_->MakeCurrent();
    device_->Gl().BindArrayBuffer(buffer_);
    if (discard_) {
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(bytes_.size()), nullptr, GL_STREAM_DRAW);
        // The orphaned storage is new and empty: all of the memory copy goes over.
        glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(bytes_.size()), bytes_.data());
    } else {
        glBufferSubData(GL_ARRAY_BUFFER, GLintptr(dirtyBegin_), GLsizeiptr(dirtyEnd_ - dirtyBegin_),
                        bytes_.data() + dirtyBegin_);
    }
    dirtyBegin_ = dirtyEnd_ = 0;
    return D3D_OK;
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
