// Internal: what every Direct3D resource of the layer shares: COM counting, the hold the
// device and state blocks keep on bound resources, and the device reference.
//
// Invariant: a resource holds one reference on its device while its own count is above
// zero, as Direct3D 9's resources do, so the device outlives every resource the program
// still holds. Bindings (SetTexture, SetStreamSource, state blocks) hold the object with a
// separate count that COM does not see; the object is freed when both counts are zero.
#ifndef VEXA_PLATFORM_D3D9_RESOURCE_H
#define VEXA_PLATFORM_D3D9_RESOURCE_H

#include <d3d9.h>

namespace vexa::platform::d3d9 {

class Device;

// The hold a binding keeps; every resource of the layer is one.
class Holdable {
public:
    virtual void Hold() = 0;
    virtual void Unhold() = 0;

protected:
    ~Holdable() = default;
};

// QueryInterface of the layer's objects answers this id with the object's Holdable, and
// takes no reference: bindings change at nearly every draw, and finding the Holdable by a
// dynamic_cast across the hierarchy cost more than the rest of the binding.
inline constexpr GUID kHoldableId = {0x5f1e2a90, 0x7c43, 0x4d1b,
                                     {0x9a, 0x6e, 0x21, 0x0c, 0x48, 0xd3, 0x77, 0xb5}};

// Takes and drops a hold on any interface of the layer (null and foreign objects: none).
void HoldObject(IUnknown* object);
void UnholdObject(IUnknown* object);

// Counts live objects of the kind Reset refuses to outlive (D3DPOOL_DEFAULT resources and
// state blocks), per device.
void CountDefaultObject(Device* device, int delta);
ULONG DeviceAddRef(Device* device);
ULONG DeviceRelease(Device* device);
IDirect3DDevice9* DeviceInterface(Device* device);

template <class Interface>
class Resource : public Interface, public Holdable {
public:
    Resource(Device* device, D3DPOOL pool) : device_(device), pool_(pool)
    {
        DeviceAddRef(device_);
        if (pool_ == D3DPOOL_DEFAULT)
            CountDefaultObject(device_, 1);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == kHoldableId) {
            *ppv = static_cast<Holdable*>(this);
            return S_OK;
        }
        if (riid == IID_IUnknown || Implements(riid)) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        // An object only a binding kept (GetTexture hands it out again) takes the device
        // reference back.
        if (references_ == 0) {
            DeviceAddRef(device_);
            if (pool_ == D3DPOOL_DEFAULT)
                CountDefaultObject(device_, 1);
        }
        return ++references_;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (references_ == 0)
            return 0;
        const ULONG left = --references_;
        if (left == 0) {
            Device* device = device_;
            if (pool_ == D3DPOOL_DEFAULT)
                CountDefaultObject(device, -1);
            if (holds_ == 0)
                delete this;
            // Last: releasing the device may free it, and with it every hold on us.
            DeviceRelease(device);
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** ppDevice) override
    {
        if (!ppDevice)
            return D3DERR_INVALIDCALL;
        *ppDevice = DeviceInterface(device_);
        DeviceAddRef(device_);
        return D3D_OK;
    }
    DWORD STDMETHODCALLTYPE SetPriority(DWORD priority) override
    {
        const DWORD old = priority_;
        if (pool_ == D3DPOOL_MANAGED)
            priority_ = priority;
        return old;
    }
    DWORD STDMETHODCALLTYPE GetPriority() override { return priority_; }
    // Managed resources always live in OpenGL already.
    void STDMETHODCALLTYPE PreLoad() override {}

    void Hold() override { ++holds_; }
    void Unhold() override
    {
        if (holds_ > 0 && --holds_ == 0 && references_ == 0)
            delete this;
    }

    D3DPOOL Pool() const { return pool_; }
    Device* Owner() const { return device_; }

protected:
    virtual ~Resource() = default;
    virtual bool Implements(REFIID riid) const = 0;

    Device* device_;
    D3DPOOL pool_;

private:
    ULONG references_ = 1;
    ULONG holds_ = 0;
    DWORD priority_ = 0;
};

}  // namespace vexa::platform::d3d9

#endif
