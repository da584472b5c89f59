// The OpenGL shadow. It starts from a fresh context's state or from values no call can
// match, so the first call of a setter whose value is unknown always goes through.
#include "gl_state.h"

#include <cstring>

namespace vexa::platform::d3d9 {

void GlState::Invalidate()
{
    const unsigned changes = changes_;
    *this = GlState();
    changes_ = changes + 1;
}

int GlState::CapIndex(GLenum cap)
{
    switch (cap) {
    case GL_BLEND:
        return kBlend;
    case GL_DEPTH_TEST:
        return kDepthTest;
    case GL_CULL_FACE:
        return kCullFace;
    case GL_STENCIL_TEST:
        return kStencilTest;
    case GL_SCISSOR_TEST:
        return kScissorTest;
    default:
        return kDither;
    }
}

void GlState::Enable(GLenum cap, bool on)
{
    int& shadow = caps_[CapIndex(cap)];
    const int want = on ? 2 : 1;  // 0 is "unknown"
    if (shadow == want)
        return;
    shadow = want;
    ++changes_;
    if (on)
        glEnable(cap);
    else
        glDisable(cap);
}

void GlState::BlendFunc(GLenum src, GLenum dst)
{
    if (blendSrc_ == src && blendDst_ == dst)
        return;
    blendSrc_ = src, blendDst_ = dst;
    ++changes_;
    glBlendFunc(src, dst);
}

void GlState::BlendEquation(GLenum mode)
{
    if (blendEquation_ == mode)
        return;
    blendEquation_ = mode;
    ++changes_;
    glBlendEquation(mode);
}

void GlState::DepthFunc(GLenum func)
{
    if (depthFunc_ == func)
        return;
    depthFunc_ = func;
    ++changes_;
    glDepthFunc(func);
}

void GlState::DepthMask(bool on)
{
    if (depthMask_ == int(on))
        return;
    depthMask_ = on;
    ++changes_;
    glDepthMask(on ? GL_TRUE : GL_FALSE);
}

void GlState::ColorMask(GLuint mask)
{
    if (colorMask_ == mask)
        return;
    colorMask_ = mask;
    ++changes_;
    glColorMask(mask & 1, (mask >> 1) & 1, (mask >> 2) & 1, (mask >> 3) & 1);
}

void GlState::CullFace(GLenum face)
{
    if (cullFace_ == face)
        return;
    cullFace_ = face;
    ++changes_;
    glCullFace(face);
}

void GlState::PolygonMode(GLenum mode)
{
    if (polygonMode_ == mode)
        return;
    polygonMode_ = mode;
    ++changes_;
    glPolygonMode(GL_FRONT_AND_BACK, mode);
}

void GlState::StencilFunc(GLenum func, GLint ref, GLuint mask)
{
    if (stencilFunc_ == func && stencilRef_ == ref && stencilReadMask_ == mask)
        return;
    stencilFunc_ = func, stencilRef_ = ref, stencilReadMask_ = mask;
    ++changes_;
    glStencilFunc(func, ref, mask);
}

void GlState::StencilOp(GLenum fail, GLenum zfail, GLenum pass)
{
    if (stencilFail_ == fail && stencilZFail_ == zfail && stencilPass_ == pass)
        return;
    stencilFail_ = fail, stencilZFail_ = zfail, stencilPass_ = pass;
    ++changes_;
    glStencilOp(fail, zfail, pass);
}

void GlState::StencilMask(GLuint mask)
{
    if (stencilWriteMask_ == mask)
        return;
    stencilWriteMask_ = mask;
    ++changes_;
    glStencilMask(mask);
}

void GlState::Viewport(GLint x, GLint y, GLsizei w, GLsizei h)
{
    const GLint v[4] = {x, y, w, h};
    if (std::memcmp(v, viewport_, sizeof v) == 0)
        return;
    std::memcpy(viewport_, v, sizeof v);
    ++changes_;
    glViewport(x, y, w, h);
}

void GlState::DepthRange(float nearZ, float farZ)
{
    if (depthRange_[0] == nearZ && depthRange_[1] == farZ)
        return;
    depthRange_[0] = nearZ, depthRange_[1] = farZ;
    ++changes_;
    glDepthRange(nearZ, farZ);
}

void GlState::Scissor(GLint x, GLint y, GLsizei w, GLsizei h)
{
    const GLint v[4] = {x, y, w, h};
    if (std::memcmp(v, scissor_, sizeof v) == 0)
        return;
    std::memcpy(scissor_, v, sizeof v);
    ++changes_;
    glScissor(x, y, w, h);
}

void GlState::UseProgram(GLuint program)
{
    if (program_ == program)
        return;
    program_ = program;
    ++changes_;
    glUseProgram(program);
}

void GlState::BindVertexArray(GLuint vao)
{
    if (vao_ == vao)
        return;
    vao_ = vao;
    glBindVertexArray(vao);
}

void GlState::BindArrayBuffer(GLuint buffer)
{
    if (arrayBuffer_ == buffer)
        return;
    arrayBuffer_ = buffer;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
}

void GlState::BindFramebuffer(GLuint fbo)
{
    if (framebuffer_ == fbo)
        return;
    framebuffer_ = fbo;
    ++changes_;
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
}

void GlState::ActiveTexture(int unit)
{
    if (activeUnit_ == unit)
        return;
    activeUnit_ = unit;
    ++changes_;
    glActiveTexture(GL_TEXTURE0 + unit);
}

void GlState::BindTexture(int unit, GLuint texture)
{
    if (unit >= 0 && unit < kMaxStages && textures_[unit] == texture && activeUnit_ >= 0)
        return;
    ActiveTexture(unit);
    if (unit >= 0 && unit < kMaxStages)
        textures_[unit] = texture;
    ++changes_;
    glBindTexture(GL_TEXTURE_2D, texture);
}

void GlState::BindSampler(int unit, GLuint sampler)
{
    if (samplers_[unit] == sampler)
        return;
    samplers_[unit] = sampler;
    ++changes_;
    glBindSampler(unit, sampler);
}

void GlState::Forget(GLuint texture, GLuint buffer)
{
    ++changes_;
    for (GLuint& t : textures_)
        if (texture && t == texture)
            t = 0;
    if (buffer && arrayBuffer_ == buffer)
        arrayBuffer_ = 0;
}

void GlState::ProvokingVertexFirst(bool first)
{
    if (provokingFirst_ == int(first))
        return;
    provokingFirst_ = first;
    ++changes_;
    glProvokingVertex(first ? GL_FIRST_VERTEX_CONVENTION : GL_LAST_VERTEX_CONVENTION);
}

}  // namespace vexa::platform::d3d9
