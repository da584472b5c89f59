// Index buffers: memory plus an OpenGL element buffer, filled through locks.
#include "index_buffer.h"

#include "device.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vexa::platform::d3d9 {

IndexBuffer* AsIndexBuffer(IDirect3DIndexBuffer9* buffer)
{
    return dynamic_cast<IndexBuffer*>(buffer);
}

HRESULT IndexBuffer::Create(Device* device, UINT length, DWORD usage, D3DFORMAT format,
                            D3DPOOL pool, IDirect3DIndexBuffer9** out)
{
    if (!out)
        return D3DERR_INVALIDCALL;
    *out = nullptr;
    if ((format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32) || length == 0 ||
        length > (1u << 30) || pool > D3DPOOL_SCRATCH ||
        ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED))
        return D3DERR_INVALIDCALL;
    IndexBuffer* ib = new (std::nothrow) IndexBuffer(device, pool, usage, format);
    if (!ib)
        return E_OUTOFMEMORY;
    try {
        ib->bytes_.assign(length, 0);
    } catch (const std::bad_alloc&) {
        ib->Release();
        return E_OUTOFMEMORY;
    }
    device->MakeCurrent();
    glGenBuffers(1, &ib->buffer_);
    // The element binding belongs to a vertex array; the copy buffer target does not.
    glBindBuffer(GL_COPY_WRITE_BUFFER, ib->buffer_);
    glBufferData(GL_COPY_WRITE_BUFFER, GLsizeiptr(length), ib->bytes_.data(),
                 (usage & D3DUSAGE_DYNAMIC) ? GL_STREAM_DRAW : GL_STATIC_DRAW);
    if (glGetError() != GL_NO_ERROR) {
        ib->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *out = ib;
    return D3D_OK;
}

IndexBuffer::IndexBuffer(Device* device, D3DPOOL pool, DWORD usage, D3DFORMAT format)
    : Resource(device, pool), usage_(usage), format_(format)
{
}

IndexBuffer::~IndexBuffer()
{
    if (buffer_) {
        device_->MakeCurrent();
        glDeleteBuffers(1, &buffer_);
    }
}

bool IndexBuffer::Implements(REFIID riid) const
{
    return riid == IID_IDirect3DResource9 || riid == IID_IDirect3DIndexBuffer9;
}

HRESULT IndexBuffer::Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags)
{
    if (!ppbData)
        return D3DERR_INVALIDCALL;
    *ppbData = nullptr;
    const UINT size = Size();
    if (OffsetToLock > size || (SizeToLock && SizeToLock > size - OffsetToLock))
        return D3DERR_INVALIDCALL;
    const UINT end = SizeToLock ? OffsetToLock + SizeToLock : size;
    if (locks_ == 0)
        dirtyBegin_ = dirtyEnd_ = 0;
    if (!(Flags & D3DLOCK_READONLY)) {
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

HRESULT IndexBuffer::Unlock()
{
    if (locks_ == 0)
        return D3DERR_INVALIDCALL;
    if (--locks_ > 0 || dirtyBegin_ == dirtyEnd_)
        return D3D_OK;
    device_->MakeCurrent();
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer_);
    glBufferSubData(GL_COPY_WRITE_BUFFER, GLintptr(dirtyBegin_), GLsizeiptr(dirtyEnd_ - dirtyBegin_),
                    bytes_.data() + dirtyBegin_);
    dirtyBegin_ = dirtyEnd_ = 0;
    return D3D_OK;
}

HRESULT IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* pDesc)
{
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    *pDesc = D3DINDEXBUFFER_DESC{format_, D3DRTYPE_INDEXBUFFER, usage_, pool_, Size()};
    return D3D_OK;
}

UINT IndexBuffer::MaxIndex(UINT first, UINT count) const
{
    UINT most = 0;
    if (format_ == D3DFMT_INDEX32) {
        for (UINT i = first; i < first + count; ++i) {
            uint32_t v;
            std::memcpy(&v, &bytes_[size_t(i) * 4], 4);
            most = std::max<UINT>(most, v);
        }
    } else {
        for (UINT i = first; i < first + count; ++i) {
            uint16_t v;
            std::memcpy(&v, &bytes_[size_t(i) * 2], 2);
            most = std::max<UINT>(most, v);
        }
    }
    return most;
}

}  // namespace vexa::platform::d3d9
