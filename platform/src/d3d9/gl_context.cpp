// OpenGL 3.3 core contexts on SDL windows, and the probe of the adapter. The probe needs
// a context before any device exists (CheckDeviceType, GetAdapterIdentifier), so it makes
// one on a hidden 16 x 16 window, asks the driver, and throws both away.
#include "gl_context.h"

#include "../win32/input_hub.h"
#include "formats.h"

#include <vexa/graphics.h>

#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>

namespace vexa::platform::d3d9 {

namespace {

UINT textureLimit = 0;
SDL_Window* currentWindow = nullptr;
void* currentContext = nullptr;

bool FramebufferAccepts(GLenum storage, GLenum attachment)
{
    GLuint fbo = 0, rb = 0;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glGenRenderbuffers(1, &rb);
    glBindRenderbuffer(GL_RENDERBUFFER, rb);
    glRenderbufferStorage(GL_RENDERBUFFER, storage, 4, 4);
    bool ok = glGetError() == GL_NO_ERROR;
    GLuint color = 0;
    if (attachment != GL_COLOR_ATTACHMENT0) {
        // Completeness is judged with a colour buffer beside the depth buffer.
        glGenRenderbuffers(1, &color);
        glBindRenderbuffer(GL_RENDERBUFFER, color);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 4, 4);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color);
    }
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, rb);
    ok = ok && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(1, &rb);
    if (color)
        glDeleteRenderbuffers(1, &color);
    glDeleteFramebuffers(1, &fbo);
    while (glGetError() != GL_NO_ERROR) {
    }
    return ok;
}

std::string GlString(GLenum name)
{
    const GLubyte* s = glGetString(name);
    return s ? reinterpret_cast<const char*>(s) : "";
}

AdapterInfo Probe()
{
    AdapterInfo info;
    if (!EnsureVideo())
        return info;
    SDL_Window* window = SDL_CreateWindow("adapter probe", 0, 0, 16, 16,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) {
        std::fprintf(stderr, "Direct3D adapter probe: %s\n", SDL_GetError());
        return info;
    }
    SDL_Window* previousWindow = currentWindow;
    void* previousContext = currentContext;
    void* context = CreateGlContext(window);
    if (context) {
        info.usable = true;
        info.renderer = GlString(GL_RENDERER);
        info.vendor = GlString(GL_VENDOR);
        info.version = GlString(GL_VERSION);
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &info.maxTextureSize);
        const GLenum colors[3] = {GL_RGBA8, GL_RGB565, GL_RGB5_A1};
        for (int i = 0; i < 3; ++i)
            info.colorRenderable[i] = FramebufferAccepts(colors[i], GL_COLOR_ATTACHMENT0);
        const GLenum depths[4] = {GL_DEPTH_COMPONENT16, GL_DEPTH_COMPONENT24,
                                  GL_DEPTH24_STENCIL8, GL_DEPTH_COMPONENT32};
        for (int i = 0; i < 4; ++i)
            info.depthRenderable[i] = FramebufferAccepts(
                depths[i], i == 2 ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT);
        DestroyGlContext(context);
    }
    SDL_DestroyWindow(window);
    if (previousContext)
        MakeGlCurrent(previousWindow, previousContext);
    return info;
}

}  // namespace

const AdapterInfo& Adapter()
{
    static const AdapterInfo info = Probe();
    return info;
}

bool CanRenderColor(D3DFORMAT format)
{
    const AdapterInfo& a = Adapter();
    switch (ColorBufferStorage(format)) {
    case GL_RGBA8:
        return a.colorRenderable[0];
    case GL_RGB565:
        return a.colorRenderable[1];
    case GL_RGB5_A1:
        return a.colorRenderable[2];
    default:
        return false;
    }
}

bool CanRenderDepth(D3DFORMAT format)
{
    const AdapterInfo& a = Adapter();
    switch (format) {
    case D3DFMT_D16:
        return a.depthRenderable[0];
    case D3DFMT_D24X8:
        return a.depthRenderable[1];
    case D3DFMT_D24S8:
        return a.depthRenderable[2];
    case D3DFMT_D32:
        return a.depthRenderable[3];
    default:
        return false;
    }
}

UINT MaxTextureEdge()
{
    UINT edge = UINT(std::max(Adapter().maxTextureSize, 0));
    return textureLimit && textureLimit < edge ? textureLimit : edge;
}

void* CreateGlContext(SDL_Window* window)
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // The window's own buffer only receives the blit of the back buffer.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        std::fprintf(stderr, "Direct3D device: no OpenGL 3.3 core context: %s\n", SDL_GetError());
        return nullptr;
    }
    currentWindow = window;
    currentContext = context;
    return context;
}

void DestroyGlContext(void* context)
{
    if (currentContext == context) {
        SDL_GL_MakeCurrent(currentWindow, nullptr);
        currentWindow = nullptr;
        currentContext = nullptr;
    }
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
}

void MakeGlCurrent(SDL_Window* window, void* context)
{
    if (currentContext == context && currentWindow == window)
        return;
    SDL_GL_MakeCurrent(window, static_cast<SDL_GLContext>(context));
    currentWindow = window;
    currentContext = context;
}

}  // namespace vexa::platform::d3d9

namespace vexa::platform {
void SetTextureSizeLimit(unsigned edge) { d3d9::textureLimit = edge; }
}  // namespace vexa::platform
