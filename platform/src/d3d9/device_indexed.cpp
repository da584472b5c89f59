// Indexed drawing and vertex declarations: CreateIndexBuffer, SetIndices, GetIndices,
// DrawIndexedPrimitive, and the declaration calls.
//
// Every index a draw reads is checked against the vertices the stream holds before
// OpenGL sees it, so a wrong index answers D3DERR_INVALIDCALL rather than reading past a
// buffer. A declaration draws through the flexible vertex format it spells: setting one
// sets that format, and a later SetFVF makes GetVertexDeclaration answer none.
#include "device.h"

#include "index_buffer.h"
#include "resource.h"
#include "vertex_buffer.h"
#include "vertex_declaration.h"
#include "vertex_layout.h"

#include <algorithm>

namespace vexa::platform::d3d9 {

namespace {

UINT IndexCount(D3DPRIMITIVETYPE type, UINT primitives)
{
    switch (type) {
    case D3DPT_POINTLIST:
        return primitives;
    case D3DPT_LINELIST:
        return primitives * 2;
    case D3DPT_LINESTRIP:
        return primitives + 1;
    case D3DPT_TRIANGLELIST:
        return primitives * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN:
        return primitives + 2;
    default:
        return 0;
    }
}

GLenum Mode(D3DPRIMITIVETYPE type)
{
    static const GLenum kModes[] = {GL_POINTS,    GL_LINES,          GL_LINE_STRIP,
                                    GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN};
    return type >= D3DPT_POINTLIST && type <= D3DPT_TRIANGLEFAN ? kModes[type - 1] : 0;
}

}  // namespace

HRESULT Device::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                  IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE* pSharedHandle)
{
    if (pSharedHandle)
        return D3DERR_INVALIDCALL;
    return IndexBuffer::Create(this, Length, Usage, Format, Pool, ppIndexBuffer);
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* pIndexData)
{
    if (pIndexData && !AsIndexBuffer(pIndexData))
        return D3DERR_INVALIDCALL;
    HoldObject(pIndexData);
    UnholdObject(indices_);
    indices_ = pIndexData;
    return D3D_OK;
}

HRESULT Device::GetIndices(IDirect3DIndexBuffer9** ppIndexData)
{
    if (!ppIndexData)
        return D3DERR_INVALIDCALL;
    *ppIndexData = indices_;
    if (indices_)
        indices_->AddRef();
    return D3D_OK;
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex,
                                     UINT MinVertexIndex, UINT NumVertices, UINT startIndex,
                                     UINT primCount)
{
    (void)MinVertexIndex;
    (void)NumVertices;  // a hint in Direct3D; every index is checked below instead
    IndexBuffer* ib = AsIndexBuffer(indices_);
    VertexBuffer* vb = AsVertexBuffer(state_.stream);
    const UINT count = IndexCount(PrimitiveType, primCount);
    if (!Mode(PrimitiveType) || !ib || !vb || state_.streamStride == 0)
        return D3DERR_INVALIDCALL;
    if (primCount == 0)
        return D3D_OK;
    if (uint64_t(startIndex) + count > ib->Count())
        return D3DERR_INVALIDCALL;
    const int64_t lowest = int64_t(BaseVertexIndex);
    const int64_t highest = lowest + int64_t(ib->MaxIndex(startIndex, count));
    const uint64_t vertices = vb->Size() > state_.streamOffset
                                  ? (vb->Size() - state_.streamOffset) / state_.streamStride
                                  : 0;
    if (lowest < 0 || uint64_t(highest) >= vertices)
        return D3DERR_INVALIDCALL;
    const VertexLayout layout = LayoutOfFvf(state_.fvf);
    if (!layout.valid)
        return D3DERR_INVALIDCALL;
    MakeCurrent();
    const uint64_t first = state_.streamOffset + uint64_t(lowest) * state_.streamStride;
    const uint64_t last = state_.streamOffset + (uint64_t(highest) + 1) * state_.streamStride;
    vb->Upload(UINT(first), UINT(std::min<uint64_t>(last, vb->Size())));
    if (!FlushIfChanged(layout))
        return D3DERR_DRIVERINTERNALERROR;
    BindVertexInput(layout, vb->Gl(), state_.streamOffset, state_.streamStride);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ib->Gl());
    const GLenum type = ib->IndexSize() == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
    glDrawElementsBaseVertex(Mode(PrimitiveType), GLsizei(count), type,
                             reinterpret_cast<const void*>(size_t(startIndex) * ib->IndexSize()),
                             GLint(BaseVertexIndex));
    return D3D_OK;
}

HRESULT Device::CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements,
                                        IDirect3DVertexDeclaration9** ppDecl)
{
    return VertexDeclaration::Create(this, pVertexElements, ppDecl);
}

HRESULT Device::SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl)
{
    VertexDeclaration* d = AsVertexDeclaration(pDecl);
    if (pDecl && !d)
        return D3DERR_INVALIDCALL;
    HoldObject(pDecl);
    UnholdObject(declaration_);
    declaration_ = pDecl;
    return d ? SetFVF(d->Fvf()) : D3D_OK;
}

HRESULT Device::GetVertexDeclaration(IDirect3DVertexDeclaration9** ppDecl)
{
    if (!ppDecl)
        return D3DERR_INVALIDCALL;
    VertexDeclaration* d = AsVertexDeclaration(declaration_);
    *ppDecl = d && d->Fvf() == state_.fvf ? declaration_ : nullptr;
    if (*ppDecl)
        (*ppDecl)->AddRef();
    return D3D_OK;
}

void Device::ReleaseIndexedBindings()
{
    UnholdObject(indices_);
    indices_ = nullptr;
    UnholdObject(declaration_);
    declaration_ = nullptr;
}

}  // namespace vexa::platform::d3d9
