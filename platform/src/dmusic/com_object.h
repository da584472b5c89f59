// Internal: the COM counting every DirectMusic object of the layer shares. An object is
// deleted when its count drops to zero; QueryInterface answers IUnknown and the one
// interface the object implements.
#ifndef VEXA_PLATFORM_DMUSIC_COM_OBJECT_H
#define VEXA_PLATFORM_DMUSIC_COM_OBJECT_H

#include <dmusici.h>

namespace vexa::platform::dmusic {

template <class Interface>
class ComObject : public Interface {
public:
    explicit ComObject(REFIID iid) : iid_(iid) {}
    virtual ~ComObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == iid_) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --count_;
        if (left == 0)
            delete this;
        return left;
    }

    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

private:
    const IID iid_;
    ULONG count_ = 1;
};

}  // namespace vexa::platform::dmusic

#endif
