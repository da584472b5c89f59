// kvD3D::Init: the probes for device type, back-buffer and depth formats and vertex
// processing, device creation, the 2D vertex buffers and the summary in the debug log.
#include "kvD3D.h"

#include <kvApplication.h>
#include <kvException.h>
#include <kvTrace.h>

#include <cstring>

namespace {
struct Named {
    DWORD value;
    const char* name;
};

const Named kDeviceTypes[] = {
    {D3DDEVTYPE_HAL, "HAL"}, {D3DDEVTYPE_SW, "Software"}, {D3DDEVTYPE_REF, "Reference"}};
// The 32-bit set ends early: its third entry is empty.
const Named kFormatSets[2][3] = {
    {{D3DFMT_R5G6B5, "R5G6B5"}, {D3DFMT_X1R5G5B5, "R5G5B5"}, {D3DFMT_A1R5G5B5, "A1R5G5B5"}},
    {{D3DFMT_X8R8G8B8, "X8R8G8B8"}, {D3DFMT_A8R8G8B8, "A8R8G8B8"}, {D3DFMT_UNKNOWN, nullptr}},
};
const Named kDepthStencil[] = {
    {D3DFMT_D15S1, "D15S1"}, {D3DFMT_D24X4S4, "D24X4S4"}, {D3DFMT_D24S8, "D24S8"}};
// First depth-stencil format that holds 0..8 stencil bits.
const int kFirstStencilFormat[9] = {0, 0, 1, 1, 1, 2, 2, 2, 2};
const Named kDepthOnly[] = {{D3DFMT_D16, "D16"}, {D3DFMT_D32, "D32"}};
const Named kVertexProcessing[] = {{D3DCREATE_HARDWARE_VERTEXPROCESSING, "Hardware"},
                                   {D3DCREATE_SOFTWARE_VERTEXPROCESSING, "Software"}};

bool adapterTraced = false;

const char* NameOf(const Named* table, size_t n, DWORD value)
{
    for (size_t i = 0; i < n; ++i)
        if (table[i].value == value && table[i].name)
            return table[i].name;
    return "Unknown";
}

const char* FormatName(D3DFORMAT format)
{
    for (const auto& set : kFormatSets)
        for (const auto& f : set)
            if (f.name && f.value == DWORD(format))
                return f.name;
    return "Unknown";
}
}  // namespace

void kvD3D::Init()
{
    ViewX = ViewY = 0;
    pD3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (!pD3D)
        NewException("Failed to create D3D9 interface.", KVEXCEPTION_GENERAL);
    Trace("D3D9 interface successfully created.");
    if (bRefDevice)
        Trace("Debug Mode On. Switching to ref device and software vp.");

    if (!adapterTraced) {
        adapterTraced = true;
        D3DADAPTER_IDENTIFIER9 id = {};
        pD3D->GetAdapterIdentifier(0, 0, &id);
        const auto version = uint64_t(id.DriverVersion.QuadPart);
        Trace(" ");
        Trace("Graphic Adapter : %s", id.Description);
        Trace("Driver          : %s", id.Driver);
        Trace("Version         : %d.%d.%d.%d", int(version >> 48 & 0xFFFF),
              int(version >> 32 & 0xFFFF), int(version >> 16 & 0xFFFF), int(version & 0xFFFF));
    }

    D3DDISPLAYMODE desktop = {};
    pD3D->GetAdapterDisplayMode(0, &desktop);

    ProbeDeviceType();

    Params = D3DPRESENT_PARAMETERS{};
    Params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    Params.BackBufferCount = bSkinnedApp ? 1 : 2;
    Params.hDeviceWindow = hWnd;
    Params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    Params.EnableAutoDepthStencil = TRUE;
    if (bWindowed) {
        Params.BackBufferFormat = desktop.Format;
        Params.Windowed = TRUE;
        Params.BackBufferWidth = 0;
        Params.BackBufferHeight = 0;
        FormatSet = GetPixelSize(desktop.Format) == 2 ? 0 : 1;
    } else {
        Params.BackBufferFormat = backBufferFormat;
        Params.Windowed = FALSE;
        Params.BackBufferWidth = UINT(ScreenX);
        Params.BackBufferHeight = UINT(ScreenY);
    }

    ChooseDepthFormat();
    CreateDevice();
    pd3dDevice = pDevice;
    CreateBuffers();

    if (bClearAtStart) {
        ClearScreen(0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        UpdateScreen();
    }

    pDevice->GetDeviceCaps(&Caps);
    MaxTextureBlendStages = Caps.MaxTextureBlendStages;
    MaxSimultaneousTextures = Caps.MaxSimultaneousTextures;
    VertexShaderVersion = Caps.VertexShaderVersion;
    PixelShaderVersion = Caps.PixelShaderVersion;
    TraceSummary(desktop);
}

void kvD3D::ProbeDeviceType()
{
    const Named* formats = kFormatSets[FormatSet ? 1 : 0];
    for (int f = 0; f < 3 && formats[f].name; ++f) {
        for (const Named& type : kDeviceTypes) {
            Tracenl("Checking (Type : %s) (Format : %s)...", type.name, formats[f].name);
            const auto format = D3DFORMAT(formats[f].value);
            if (SUCCEEDED(pD3D->CheckDeviceType(0, D3DDEVTYPE(type.value), format, format,
                                                bWindowed))) {
                Trace("Passed");
                deviceType = D3DDEVTYPE(type.value);
                backBufferFormat = format;
                return;
            }
            Trace("Failed");
        }
    }
    NewException("Failed to set device type.", KVEXCEPTION_GENERAL);
}

void kvD3D::ChooseDepthFormat()
{
    const D3DFORMAT adapterFormat = backBufferFormat;
    auto tryFormat = [&](const Named& candidate) {
        Tracenl("Checking (Stencil Format : %s)...", candidate.name);
        if (SUCCEEDED(pD3D->CheckDeviceFormat(0, deviceType, adapterFormat,
                                              D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                              D3DFORMAT(candidate.value)))) {
            Trace("Passed");
            Params.AutoDepthStencilFormat = D3DFORMAT(candidate.value);
            return true;
        }
        Trace("Failed");
        return false;
    };
    if (StencilBits > 0) {
        for (int i = kFirstStencilFormat[StencilBits]; i < 3; ++i)
            if (tryFormat(kDepthStencil[i]))
                return;
    } else {
        for (const Named& candidate : kDepthOnly)
            if (tryFormat(candidate))
                return;
    }
    NewException("Failed to set stencil format.", KVEXCEPTION_GENERAL);
}

void kvD3D::CreateDevice()
{
    UINT adapter = 0;
    bool perfHUDFound = false;
    if (bPerfHUD) {
        Tracenl("Checking NVPerfHUD...");
        for (UINT a = 0; a < pD3D->GetAdapterCount(); ++a) {
            D3DADAPTER_IDENTIFIER9 id = {};
            if (SUCCEEDED(pD3D->GetAdapterIdentifier(a, 0, &id)) &&
                std::strcmp(id.Description, "NVIDIA NVPerfHUD") == 0) {
                adapter = a;
                perfHUDFound = true;
                deviceType = D3DDEVTYPE_REF;
                Trace("Started with NVPerfHUD.");
                break;
            }
        }
        if (!perfHUDFound)
            Trace("Failed");
    }
    const DWORD threading = bMultithreaded ? D3DCREATE_MULTITHREADED : 0;
    if (bRefDevice) {
        vertexProcessing = "Software";
        deviceType = D3DDEVTYPE_REF;
        if (FAILED(pD3D->CreateDevice(0, D3DDEVTYPE_REF, hWnd,
                                      D3DCREATE_SOFTWARE_VERTEXPROCESSING | threading, &Params,
                                      &pDevice))) {
            Trace("Failed");
            NewException("Failed to create D3D9 device.", KVEXCEPTION_GENERAL);
        }
        Trace("Passed");
        return;
    }
    DWORD behaviour = 0;
    for (const Named& vp : kVertexProcessing) {
        Tracenl("Checking (Vertex Processing Type : %s)...", vp.name);
        if (SUCCEEDED(pD3D->CreateDevice(0, deviceType, hWnd, vp.value | threading, &Params,
                                         &pDevice))) {
            Trace("Passed");
            vertexProcessing = vp.name;
            behaviour = vp.value;
            break;
        }
        Trace("Failed");
    }
    if (!pDevice)
        NewException("Failed to create D3D9 device.", KVEXCEPTION_GENERAL);
    if (perfHUDFound) {
        pDevice->Release();
        pDevice = nullptr;
        Trace("%s %s", vertexProcessing, NameOf(kDeviceTypes, 3, deviceType));
        if (FAILED(pD3D->CreateDevice(adapter, deviceType, hWnd, behaviour | threading, &Params,
                                      &pDevice)))
            NewException("Failed to create D3D9 device.", KVEXCEPTION_GENERAL);
        Trace("NVPerfHUD Device created");
    }
}

void kvD3D::CreateBuffers()
{
    if (FAILED(pDevice->CreateVertexBuffer(144, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                           D3DFVF_XYZRHW | D3DFVF_TEX1, D3DPOOL_SYSTEMMEM,
                                           &pBltBuffer, nullptr)))
        NewException("Failed to create kvd3d9 blt VertexBuffer.", KVEXCEPTION_GENERAL);
    if (FAILED(pDevice->CreateVertexBuffer(120, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                           D3DFVF_XYZRHW | D3DFVF_DIFFUSE, D3DPOOL_SYSTEMMEM,
                                           &pColorBuffer, nullptr)))
        NewException("Failed to create kvd3d9 color VertexBuffer.", KVEXCEPTION_GENERAL);
}

void kvD3D::TraceSummary(const D3DDISPLAYMODE& desktop)
{
    Trace(" ");
    Trace("Graphic device  : %s", NameOf(kDeviceTypes, 3, deviceType));
    Trace("Viewport Res    : %dx%d", int(ScreenX), int(ScreenY));
    Trace("Fullscreen      : %d", bWindowed ? 0 : 1);
    Trace("Backbuffer num  : %d", int(Params.BackBufferCount));
    Trace("Surface format  : %s", FormatName(Params.BackBufferFormat));
    Trace("Vertex Process  : %s", vertexProcessing);
    Trace("Max Blend Stages: %d", int(MaxTextureBlendStages));
    Trace("Max Tex Stages  : %d", int(MaxSimultaneousTextures));
    Trace("Vertex Shader   : v%d.%d", int(VertexShaderVersion >> 8 & 0xFF),
          int(VertexShaderVersion & 0xFF));
    Trace("Pixel Shader    : v%d.%d", int(PixelShaderVersion >> 8 & 0xFF),
          int(PixelShaderVersion & 0xFF));
    Trace(" ");
    Trace("Destop  (Resolution :%d x %d x %dHz Format:%d)", int(desktop.Width),
          int(desktop.Height), int(desktop.RefreshRate), int(desktop.Format));
    Trace(" ");
    Trace("D3D9 Device successfully created.");
}
