// The plain OpenGL side of the engine-beside-OpenGL benchmarks: a window of its own with
// an OpenGL 3.3 core context, and a framebuffer of the window's size (colour, depth and
// stencil) that a frame draws into and then blits and swaps, as the Direct3D layer's back
// buffer is presented.
#ifndef VEXA_BENCH_PLAIN_GL_H
#define VEXA_BENCH_PLAIN_GL_H

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace plain {

inline GLuint Program(const char* vertexSource, const char* fragmentSource)
{
    const GLuint program = glCreateProgram();
    for (auto [kind, source] : {std::pair{GL_VERTEX_SHADER, vertexSource},
                                std::pair{GL_FRAGMENT_SHADER, fragmentSource}}) {
        GLuint s = glCreateShader(GLenum(kind));
        glShaderSource(s, 1, &source, nullptr);
        glCompileShader(s);
        glAttachShader(program, s);
        glDeleteShader(s);
    }
    glLinkProgram(program);
    return program;
}

class Context {
public:
    Context(int width, int height) : width_(width), height_(height)
    {
        SDL_InitSubSystem(SDL_INIT_VIDEO);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        window_ = SDL_CreateWindow("baseline", 0, 0, width, height, SDL_WINDOW_OPENGL);
        context_ = SDL_GL_CreateContext(window_);
        SDL_GL_MakeCurrent(window_, context_);
        SDL_GL_SetSwapInterval(0);
        glGenRenderbuffers(1, &colour_);
        glBindRenderbuffer(GL_RENDERBUFFER, colour_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        glGenRenderbuffers(1, &depth_);
        glBindRenderbuffer(GL_RENDERBUFFER, depth_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
        glGenFramebuffers(1, &fbo_);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  depth_);
        glViewport(0, 0, width, height);
    }
    ~Context()
    {
        glDeleteFramebuffers(1, &fbo_);
        glDeleteRenderbuffers(1, &colour_);
        glDeleteRenderbuffers(1, &depth_);
        SDL_GL_DeleteContext(context_);
        SDL_DestroyWindow(window_);
    }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // Clears colour and depth (depth writes left on).
    void Begin()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
        glDepthMask(GL_TRUE);
        glClearColor(0.125f, 0.1875f, 0.25f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void End()
    {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
        SDL_GL_SwapWindow(window_);
    }

    // With VEXA_BENCH_SHOTS naming a folder, saves the framebuffer there as name.ppm.
    void Shot(const char* name)
    {
        const char* folder = std::getenv("VEXA_BENCH_SHOTS");
        if (!folder)
            return;
        std::vector<unsigned char> rgb(size_t(width_) * size_t(height_) * 3);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        FILE* f = std::fopen((std::string(folder) + "/" + name + ".ppm").c_str(), "wb");
        if (!f)
            return;
        std::fprintf(f, "P6\n%d %d\n255\n", width_, height_);
        // OpenGL's rows run bottom up; the file's top down.
        for (int y = height_ - 1; y >= 0; --y)
            std::fwrite(&rgb[size_t(y) * size_t(width_) * 3], 1, size_t(width_) * 3, f);
        std::fclose(f);
    }

private:
    int width_, height_;
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    GLuint fbo_ = 0, colour_ = 0, depth_ = 0;
};

}  // namespace plain

#endif
