// Internal: OpenGL contexts for the Direct3D layer, and what the one adapter (the OpenGL
// driver SDL loads) can do, probed once on a hidden window.
#ifndef VEXA_PLATFORM_D3D9_GL_CONTEXT_H
#define VEXA_PLATFORM_D3D9_GL_CONTEXT_H

#include <d3d9.h>

#include <string>

struct SDL_Window;

namespace vexa::platform::d3d9 {

struct AdapterInfo {
    bool usable = false;        // an OpenGL 3.3 core context could be made
    std::string renderer;       // GL_RENDERER
    std::string vendor;         // GL_VENDOR
    std::string version;        // GL_VERSION
    int maxTextureSize = 0;     // GL_MAX_TEXTURE_SIZE
    bool colorRenderable[3] = {};   // RGBA8, RGB565, RGB5_A1 as framebuffer colour
    bool depthRenderable[4] = {};   // D16, D24X8, D24S8, D32
};

// Probes on first use; later calls answer from the record.
const AdapterInfo& Adapter();
// True when a back buffer of this format can be rendered.
bool CanRenderColor(D3DFORMAT format);
bool CanRenderDepth(D3DFORMAT format);
// The largest texture edge the device reports: the driver's, or the test limit below it.
UINT MaxTextureEdge();

// An OpenGL 3.3 core context on the window, made current; null (and SDL's error on
// stderr) on failure.
void* CreateGlContext(SDL_Window* window);
void DestroyGlContext(void* context);
// Makes the context current on the window unless it already is.
void MakeGlCurrent(SDL_Window* window, void* context);

}  // namespace vexa::platform::d3d9

#endif
