// Internal: vertex declarations. The layer draws flexible vertex formats only, so a
// declaration is kept with the format it spells; one that spells none (several streams,
// elements out of the fixed order, types a format cannot hold) is refused at creation.
#ifndef VEXA_PLATFORM_D3D9_VERTEX_DECLARATION_H
#define VEXA_PLATFORM_D3D9_VERTEX_DECLARATION_H

#include "resource.h"

#include <d3d9.h>

#include <vector>

namespace vexa::platform::d3d9 {

class Device;

// Elements up to (not counting) the end marker; -1 when there is none within
// MAXD3DDECLLENGTH elements.
int DeclarationLength(const D3DVERTEXELEMENT9* elements);
// The declaration of a format in Direct3D's order, end marker included; false when the
// format is outside what a declaration of the layer can spell.
bool DeclarationOfFvf(DWORD fvf, D3DVERTEXELEMENT9 out[MAXD3DDECLLENGTH + 1]);
// The format a declaration spells; false when it spells none.
bool FvfOfDeclaration(const D3DVERTEXELEMENT9* elements, DWORD* fvf);
// Bytes an element of a declaration type takes (0 for an unknown type).
UINT DeclTypeSize(BYTE type);

// Counted as resources are (resource.h): a binding holds it without a COM reference, so a
// bound declaration does not keep its device alive.
class VertexDeclaration final : public IDirect3DVertexDeclaration9, public Holdable {
public:
    static HRESULT Create(Device* device, const D3DVERTEXELEMENT9* elements,
                          IDirect3DVertexDeclaration9** out);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** ppDevice) override;
    HRESULT STDMETHODCALLTYPE GetDeclaration(D3DVERTEXELEMENT9* pElement,
                                             UINT* pNumElements) override;

    void Hold() override { ++holds_; }
    void Unhold() override;

    DWORD Fvf() const { return fvf_; }

private:
    VertexDeclaration(Device* device, DWORD fvf, const D3DVERTEXELEMENT9* elements, int length);
    ~VertexDeclaration();

    Device* device_;
    ULONG references_ = 1;
    ULONG holds_ = 0;
    DWORD fvf_;
    std::vector<D3DVERTEXELEMENT9> elements_;  // end marker included
};

VertexDeclaration* AsVertexDeclaration(IDirect3DVertexDeclaration9* declaration);

}  // namespace vexa::platform::d3d9

#endif
