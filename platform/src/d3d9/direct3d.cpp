// Direct3DCreate9 and the IDirect3D9 object: one adapter, the OpenGL driver SDL loads;
// one device type, HAL. Format checks answer what the device can really render and
// sample, as probed on the driver.
#include "caps.h"
#include "device.h"
#include "display_mode.h"
#include "formats.h"
#include "gl_context.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace vexa::platform::d3d9 {

namespace {

bool IsDepthFormat(D3DFORMAT f)
{
    return f == D3DFMT_D16 || f == D3DFMT_D32 || f == D3DFMT_D15S1 || f == D3DFMT_D24S8 ||
           f == D3DFMT_D24X8 || f == D3DFMT_D24X4S4 || f == D3DFMT_D16_LOCKABLE ||
           f == D3DFMT_D32F_LOCKABLE || f == D3DFMT_D24FS8;
}

// Display (adapter) formats a desktop or full-screen mode can have.
bool IsDisplayFormat(D3DFORMAT f)
{
    return f == D3DFMT_X8R8G8B8 || f == D3DFMT_R5G6B5 || f == D3DFMT_X1R5G5B5;
}

class Direct3D final : public IDirect3D9 {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDirect3D9) {
            *ppv = static_cast<IDirect3D9*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (references_ == 0)
            return 0;
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    UINT STDMETHODCALLTYPE GetAdapterCount() override { return Adapter().usable ? 1 : 0; }

    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT adapter, DWORD,
                                                   D3DADAPTER_IDENTIFIER9* id) override
    {
        if (!id || !ValidAdapter(adapter))
            return D3DERR_INVALIDCALL;
        const AdapterInfo& a = Adapter();
        std::memset(id, 0, sizeof *id);
        std::snprintf(id->Driver, sizeof id->Driver, "%s", "OpenGL");
        std::snprintf(id->Description, sizeof id->Description, "%s", a.renderer.c_str());
        std::snprintf(id->DeviceName, sizeof id->DeviceName, "%s", "\\\\.\\DISPLAY1");
        // The driver version from GL_VERSION's numbers, "major.minor.release".
        int major = 0, minor = 0, release = 0;
        std::sscanf(a.version.c_str(), "%d.%d.%d", &major, &minor, &release);
        id->DriverVersion.u.HighPart = LONG((major << 16) | (minor & 0xFFFF));
        id->DriverVersion.u.LowPart = DWORD(release & 0xFFFF) << 16;
        id->WHQLLevel = 0;
        return D3D_OK;
    }

    UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT adapter, D3DFORMAT format) override
    {
        D3DDISPLAYMODE mode;
        return ValidAdapter(adapter) && DesktopMode(&mode) && mode.Format == format ? 1 : 0;
    }

    HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index,
                                               D3DDISPLAYMODE* mode) override
    {
        if (!mode || !ValidAdapter(adapter) || index >= GetAdapterModeCount(adapter, format))
            return D3DERR_INVALIDCALL;
        return DesktopMode(mode) ? D3D_OK : D3DERR_NOTAVAILABLE;
    }

    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override
    {
        if (!mode || !ValidAdapter(adapter))
            return D3DERR_INVALIDCALL;
        return DesktopMode(mode) ? D3D_OK : D3DERR_NOTAVAILABLE;
    }

    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT adapter, D3DDEVTYPE type,
                                              D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                                              BOOL windowed) override
    {
        if (!ValidAdapter(adapter))
            return D3DERR_INVALIDCALL;
        if (type != D3DDEVTYPE_HAL)
            return D3DERR_NOTAVAILABLE;
        if (windowed && backBufferFormat == D3DFMT_UNKNOWN) {
            D3DDISPLAYMODE mode;
            if (DesktopMode(&mode))
                backBufferFormat = mode.Format;
        }
        if (!IsDisplayFormat(adapterFormat) && !(windowed && adapterFormat == D3DFMT_A8R8G8B8))
            return D3DERR_NOTAVAILABLE;
        return CanRenderColor(backBufferFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
    }

    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT adapter, D3DDEVTYPE type,
                                                D3DFORMAT adapterFormat, DWORD usage,
                                                D3DRESOURCETYPE resource,
                                                D3DFORMAT format) override
    {
        if (!ValidAdapter(adapter))
            return D3DERR_INVALIDCALL;
        if (type != D3DDEVTYPE_HAL || !IsDisplayFormat(adapterFormat))
            return D3DERR_NOTAVAILABLE;
        if (usage & D3DUSAGE_DEPTHSTENCIL)
            return resource == D3DRTYPE_SURFACE && IsDepthFormat(format) && CanRenderDepth(format)
                       ? D3D_OK
                       : D3DERR_NOTAVAILABLE;
        if (usage & D3DUSAGE_RENDERTARGET)
            return resource == D3DRTYPE_SURFACE && CanRenderColor(format) ? D3D_OK
                                                                          : D3DERR_NOTAVAILABLE;
        if (resource == D3DRTYPE_TEXTURE || resource == D3DRTYPE_SURFACE)
            return FindTextureFormat(format) && !(usage & ~(D3DUSAGE_DYNAMIC)) ? D3D_OK
                                                                              : D3DERR_NOTAVAILABLE;
        return D3DERR_NOTAVAILABLE;
    }

    HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT,
                                                     D3DFORMAT renderTarget,
                                                     D3DFORMAT depth) override
    {
        if (!ValidAdapter(adapter))
            return D3DERR_INVALIDCALL;
        return type == D3DDEVTYPE_HAL && CanRenderColor(renderTarget) && CanRenderDepth(depth)
                   ? D3D_OK
                   : D3DERR_NOTAVAILABLE;
    }

    HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override;

    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus,
                                           DWORD behaviour, D3DPRESENT_PARAMETERS* parameters,
                                           IDirect3DDevice9** device) override
    {
        if (device)
            *device = nullptr;
        if (!ValidAdapter(adapter) || !device)
            return D3DERR_INVALIDCALL;
        if (type != D3DDEVTYPE_HAL)
            return D3DERR_NOTAVAILABLE;
        return Device::Create(this, focus, behaviour, parameters, device);
    }

private:
    ~Direct3D() = default;
    static bool ValidAdapter(UINT adapter) { return adapter == 0 && Adapter().usable; }

    ULONG references_ = 1;
};

}  // namespace

HRESULT Direct3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps)
{
    if (!caps || !ValidAdapter(adapter))
        return D3DERR_INVALIDCALL;
    if (type != D3DDEVTYPE_HAL)
        return D3DERR_NOTAVAILABLE;
    FillHalCaps(*caps);
    return D3D_OK;
}

}  // namespace vexa::platform::d3d9

WINAPI_EXPORT IDirect3D9* WINAPI Direct3DCreate9(UINT SDKVersion)
{
    if (SDKVersion != D3D_SDK_VERSION)
        return nullptr;
    return new (std::nothrow) vexa::platform::d3d9::Direct3D();
}
