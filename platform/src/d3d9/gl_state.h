// Internal: a typed shadow of the OpenGL state the device touches, so a Direct3D state
// change reaches OpenGL only when it changes something. Every OpenGL state change of the
// layer goes through here; nothing else calls these entry points.
#ifndef VEXA_PLATFORM_D3D9_GL_STATE_H
#define VEXA_PLATFORM_D3D9_GL_STATE_H

#include <epoxy/gl.h>

namespace vexa::platform::d3d9 {

constexpr int kMaxStages = 4;

class GlState {
public:
    // Back to a fresh context's shadow.
    void Invalidate();

    void Enable(GLenum cap, bool on);
    void BlendFunc(GLenum src, GLenum dst);
    void BlendEquation(GLenum mode);
    void DepthFunc(GLenum func);
    void DepthMask(bool on);
    void ColorMask(GLuint mask);  // bits 0..3 red, green, blue, alpha
    void CullFace(GLenum face);
    void PolygonMode(GLenum mode);
    void StencilFunc(GLenum func, GLint ref, GLuint mask);
    void StencilOp(GLenum fail, GLenum zfail, GLenum pass);
    void StencilMask(GLuint mask);
    void Viewport(GLint x, GLint y, GLsizei w, GLsizei h);
    void DepthRange(float nearZ, float farZ);
    void Scissor(GLint x, GLint y, GLsizei w, GLsizei h);
    void UseProgram(GLuint program);
    void BindVertexArray(GLuint vao);
    void BindArrayBuffer(GLuint buffer);
    void BindFramebuffer(GLuint fbo);
    void BindTexture(int unit, GLuint texture);
    void BindSampler(int unit, GLuint sampler);
    void ProvokingVertexFirst(bool first);
    // OpenGL unbinds an object it deletes; the shadow must forget it too.
    void Forget(GLuint texture, GLuint buffer);
    // Counts the calls that reached OpenGL, the vertex array and array buffer bindings
    // left out: a draw whose Direct3D state is unchanged and which finds the count where
    // its last flush left it has nothing to flush. Vertex input is bound at every draw
    // after the flush, and uploads bind buffers, so those bindings cannot count.
    unsigned Changes() const { return changes_; }

private:
    enum Cap { kBlend, kDepthTest, kCullFace, kStencilTest, kScissorTest, kDither, kCapCount };
    static int CapIndex(GLenum cap);
    void ActiveTexture(int unit);

    int caps_[kCapCount] = {};
    GLenum blendSrc_ = 0, blendDst_ = 0, blendEquation_ = 0, depthFunc_ = 0;
    int depthMask_ = -1;
    GLuint colorMask_ = 0xFFFFFFFF;
    GLenum cullFace_ = 0, polygonMode_ = 0;
    GLenum stencilFunc_ = 0;
    GLint stencilRef_ = -1;
    GLuint stencilReadMask_ = 0;
    GLenum stencilFail_ = 0, stencilZFail_ = 0, stencilPass_ = 0;
    GLuint stencilWriteMask_ = 0xFFFFFFFF;  // a fresh context's
    GLint viewport_[4] = {-1, -1, -1, -1};
    float depthRange_[2] = {-1, -1};
    GLint scissor_[4] = {-1, -1, -1, -1};
    GLuint program_ = 0, vao_ = 0, arrayBuffer_ = 0, framebuffer_ = 0;
    GLuint textures_[kMaxStages] = {};
    GLuint samplers_[kMaxStages] = {};
    int activeUnit_ = -1;
    int provokingFirst_ = -1;
    unsigned changes_ = 0;
};

}  // namespace vexa::platform::d3d9

#endif
