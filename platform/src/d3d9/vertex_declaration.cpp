// Vertex declarations and their translation to and from flexible vertex formats, in the
// fixed order formats lay out their elements: position (or pre-transformed position),
// normal, point size, diffuse, specular, then the texture sets 0 to 7.
#include "vertex_declaration.h"

#include "resource.h"

#include <new>

namespace vexa::platform::d3d9 {

namespace {

constexpr D3DVERTEXELEMENT9 kEnd = D3DDECL_END();

D3DVERTEXELEMENT9 Element(WORD offset, BYTE type, BYTE usage, BYTE index = 0)
{
    return D3DVERTEXELEMENT9{0, offset, type, D3DDECLMETHOD_DEFAULT, usage, index};
}

bool IsEnd(const D3DVERTEXELEMENT9& e) { return e.Stream == 0xFF; }

}  // namespace

UINT DeclTypeSize(BYTE type)
{
    static const UINT kSizes[] = {4, 8, 12, 16, 4, 4, 4, 8, 4, 4, 8, 4, 8, 4, 4, 4, 8};
    return type < sizeof kSizes / sizeof kSizes[0] ? kSizes[type] : 0;
}

int DeclarationLength(const D3DVERTEXELEMENT9* elements)
{
    if (!elements)
        return -1;
    for (int i = 0; i <= MAXD3DDECLLENGTH; ++i)
        if (IsEnd(elements[i]))
            return i;
    return -1;
}

bool DeclarationOfFvf(DWORD fvf, D3DVERTEXELEMENT9 out[MAXD3DDECLLENGTH + 1])
{
    int n = 0;
    WORD offset = 0;
    const DWORD position = fvf & D3DFVF_POSITION_MASK;
    if (position == D3DFVF_XYZ) {
        out[n++] = Element(offset, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION);
        offset += 12;
    } else if (position == D3DFVF_XYZRHW) {
        out[n++] = Element(offset, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_POSITIONT);
        offset += 16;
    } else if (position != 0) {
        return false;  // blend weights are outside the layer
    }
    if (fvf & D3DFVF_NORMAL) {
        out[n++] = Element(offset, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL);
        offset += 12;
    }
    if (fvf & D3DFVF_PSIZE) {
        out[n++] = Element(offset, D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_PSIZE);
        offset += 4;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        out[n++] = Element(offset, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0);
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR) {
        out[n++] = Element(offset, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 1);
        offset += 4;
    }
    const DWORD count = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (count > 8)
        return false;
    static const BYTE kTypeOfCode[4] = {D3DDECLTYPE_FLOAT2, D3DDECLTYPE_FLOAT3,
                                        D3DDECLTYPE_FLOAT4, D3DDECLTYPE_FLOAT1};
    for (DWORD i = 0; i < count; ++i) {
        const BYTE type = kTypeOfCode[(fvf >> (16 + 2 * i)) & 3];
        out[n++] = Element(offset, type, D3DDECLUSAGE_TEXCOORD, BYTE(i));
        offset = WORD(offset + DeclTypeSize(type));
    }
    out[n] = kEnd;
    return true;
}

bool FvfOfDeclaration(const D3DVERTEXELEMENT9* elements, DWORD* fvf)
{
    const int length = DeclarationLength(elements);
    if (length < 0)
        return false;
    // Rebuild the format element by element and compare with what a format would lay out.
    DWORD result = 0;
    int i = 0;
    auto next = [&](BYTE usage, BYTE index) {
        return i < length && elements[i].Usage == usage && elements[i].UsageIndex == index;
    };
    if (next(D3DDECLUSAGE_POSITION, 0) && elements[i].Type == D3DDECLTYPE_FLOAT3)
        result |= D3DFVF_XYZ, ++i;
    else if (next(D3DDECLUSAGE_POSITIONT, 0) && elements[i].Type == D3DDECLTYPE_FLOAT4)
        result |= D3DFVF_XYZRHW, ++i;
    if (next(D3DDECLUSAGE_NORMAL, 0) && elements[i].Type == D3DDECLTYPE_FLOAT3)
        result |= D3DFVF_NORMAL, ++i;
    if (next(D3DDECLUSAGE_PSIZE, 0) && elements[i].Type == D3DDECLTYPE_FLOAT1)
        result |= D3DFVF_PSIZE, ++i;
    if (next(D3DDECLUSAGE_COLOR, 0) && elements[i].Type == D3DDECLTYPE_D3DCOLOR)
        result |= D3DFVF_DIFFUSE, ++i;
    if (next(D3DDECLUSAGE_COLOR, 1) && elements[i].Type == D3DDECLTYPE_D3DCOLOR)
        result |= D3DFVF_SPECULAR, ++i;
    DWORD sets = 0;
    while (sets < 8 && next(D3DDECLUSAGE_TEXCOORD, BYTE(sets))) {
        switch (elements[i].Type) {
        case D3DDECLTYPE_FLOAT1:
            result |= DWORD(D3DFVF_TEXCOORDSIZE1(sets));
            break;
        case D3DDECLTYPE_FLOAT2:
            break;
        case D3DDECLTYPE_FLOAT3:
            result |= DWORD(D3DFVF_TEXCOORDSIZE3(sets));
            break;
        case D3DDECLTYPE_FLOAT4:
            result |= DWORD(D3DFVF_TEXCOORDSIZE4(sets));
            break;
        default:
            return false;
        }
        ++sets, ++i;
    }
    result |= sets << D3DFVF_TEXCOUNT_SHIFT;
    if (i != length)
        return false;
    D3DVERTEXELEMENT9 expected[MAXD3DDECLLENGTH + 1];
    if (!DeclarationOfFvf(result, expected))
        return false;
    for (int k = 0; k < length; ++k)
        if (elements[k].Stream != 0 || elements[k].Offset != expected[k].Offset ||
            elements[k].Method != D3DDECLMETHOD_DEFAULT)
            return false;
    *fvf = result;
    return true;
}

// ---- the declaration object --------------------------------------------------------------
VertexDeclaration* AsVertexDeclaration(IDirect3DVertexDeclaration9* declaration)
{
    return dynamic_cast<VertexDeclaration*>(declaration);
}

HRESULT VertexDeclaration::Create(Device* device, const D3DVERTEXELEMENT9* elements,
                                  IDirect3DVertexDeclaration9** out)
{
    if (!out)
        return D3DERR_INVALIDCALL;
    *out = nullptr;
    DWORD fvf = 0;
    const int length = DeclarationLength(elements);
    if (length <= 0 || !FvfOfDeclaration(elements, &fvf))
        return D3DERR_INVALIDCALL;
    VertexDeclaration* d = new (std::nothrow) VertexDeclaration(device, fvf, elements, length);
    if (!d)
        return E_OUTOFMEMORY;
    *out = d;
    return D3D_OK;
}

VertexDeclaration::VertexDeclaration(Device* device, DWORD fvf, const D3DVERTEXELEMENT9* elements,
                                     int length)
    : device_(device), fvf_(fvf), elements_(elements, elements + length + 1)
{
    DeviceAddRef(device_);
}

VertexDeclaration::~VertexDeclaration() = default;

HRESULT VertexDeclaration::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == kHoldableId) {
        *ppv = static_cast<Holdable*>(this);
        return S_OK;
    }
    if (riid == IID_IUnknown || riid == IID_IDirect3DVertexDeclaration9) {
        *ppv = static_cast<IDirect3DVertexDeclaration9*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG VertexDeclaration::AddRef()
{
    if (references_ == 0)
        DeviceAddRef(device_);
    return ++references_;
}

ULONG VertexDeclaration::Release()
{
    if (references_ == 0)
        return 0;
    const ULONG left = --references_;
    if (left == 0) {
        Device* device = device_;
        if (holds_ == 0)
            delete this;
        DeviceRelease(device);
    }
    return left;
}

void VertexDeclaration::Unhold()
{
    if (holds_ > 0 && --holds_ == 0 && references_ == 0)
        delete this;
}

HRESULT VertexDeclaration::GetDevice(IDirect3DDevice9** ppDevice)
{
    if (!ppDevice)
        return D3DERR_INVALIDCALL;
    *ppDevice = DeviceInterface(device_);
    DeviceAddRef(device_);
    return D3D_OK;
}

HRESULT VertexDeclaration::GetDeclaration(D3DVERTEXELEMENT9* pElement, UINT* pNumElements)
{
    if (!pNumElements)
        return D3DERR_INVALIDCALL;
    *pNumElements = UINT(elements_.size());
    if (pElement)
        for (size_t i = 0; i < elements_.size(); ++i)
            pElement[i] = elements_[i];
    return D3D_OK;
}

}  // namespace vexa::platform::d3d9
