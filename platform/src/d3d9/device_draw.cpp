// Clear, the draws, and the flush of the device's state into OpenGL before each draw.
// Render and sampler states go through the conversion tables below; a value outside
// them is reported once and replaced by Direct3D's default.
#include "device.h"

#include "resource.h"
#include "texture.h"
#include "vertex_buffer.h"
#include "vertex_layout.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

namespace vexa::platform::d3d9 {

namespace {

void Unsupported(const char* what, DWORD value)
{
    static std::set<std::string> reported;
    const std::string key = std::string(what) + std::to_string(value);
    if (reported.insert(key).second)
        std::fprintf(stderr, "Direct3D: %s %u is not supported; using the default\n", what,
                     unsigned(value));
}

GLenum BlendFactor(DWORD blend, GLenum fallback)
{
    switch (blend) {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_ONE:
        return GL_ONE;
    case D3DBLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
        return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
        return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
        return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
        return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT:
        return GL_SRC_ALPHA_SATURATE;
    default:
        Unsupported("blend factor", blend);
        return fallback;
    }
}

GLenum Comparison(DWORD func, GLenum fallback)
{
    if (func >= D3DCMP_NEVER && func <= D3DCMP_ALWAYS)
        return GL_NEVER + (func - D3DCMP_NEVER);  // same order in both APIs
    Unsupported("comparison", func);
    return fallback;
}

GLenum BlendEquation(DWORD op)
{
    switch (op) {
    case D3DBLENDOP_ADD:
        return GL_FUNC_ADD;
    case D3DBLENDOP_SUBTRACT:
        return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT:
        return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN:
        return GL_MIN;
    case D3DBLENDOP_MAX:
        return GL_MAX;
    default:
        Unsupported("blend operation", op);
        return GL_FUNC_ADD;
    }
}

GLenum StencilOperation(DWORD op)
{
    switch (op) {
    case D3DSTENCILOP_KEEP:
        return GL_KEEP;
    case D3DSTENCILOP_ZERO:
        return GL_ZERO;
    case D3DSTENCILOP_REPLACE:
        return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT:
        return GL_INCR;
    case D3DSTENCILOP_DECRSAT:
        return GL_DECR;
    case D3DSTENCILOP_INVERT:
        return GL_INVERT;
    case D3DSTENCILOP_INCR:
        return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR:
        return GL_DECR_WRAP;
    default:
        Unsupported("stencil operation", op);
        return GL_KEEP;
    }
}

GLenum FillMode(DWORD mode)
{
    switch (mode) {
    case D3DFILL_POINT:
        return GL_POINT;
    case D3DFILL_WIREFRAME:
        return GL_LINE;
    case D3DFILL_SOLID:
        return GL_FILL;
    default:
        Unsupported("fill mode", mode);
        return GL_FILL;
    }
}

GLenum Address(DWORD address)
{
    switch (address) {
    case D3DTADDRESS_WRAP:
        return GL_REPEAT;
    case D3DTADDRESS_MIRROR:
        return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP:
        return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER:
        return GL_CLAMP_TO_BORDER;
    default:
        // MIRRORONCE needs OpenGL 4.4.
        Unsupported("texture address mode", address);
        return GL_REPEAT;
    }
}

GLenum MinFilter(DWORD min, DWORD mip)
{
    const bool linear = min == D3DTEXF_LINEAR || min == D3DTEXF_ANISOTROPIC;
    switch (mip) {
    case D3DTEXF_POINT:
        return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    case D3DTEXF_LINEAR:
        return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    default:
        return linear ? GL_LINEAR : GL_NEAREST;
    }
}

GLenum PrimitiveMode(D3DPRIMITIVETYPE type)
{
    switch (type) {
    case D3DPT_POINTLIST:
        return GL_POINTS;
    case D3DPT_LINELIST:
        return GL_LINES;
    case D3DPT_LINESTRIP:
        return GL_LINE_STRIP;
    case D3DPT_TRIANGLELIST:
        return GL_TRIANGLES;
    case D3DPT_TRIANGLESTRIP:
        return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN:
        return GL_TRIANGLE_FAN;
    default:
        return 0;
    }
}

UINT VertexCount(D3DPRIMITIVETYPE type, UINT primitives)
{
    switch (type) {
    case D3DPT_POINTLIST:
        return primitives;
    case D3DPT_LINELIST:
        return primitives * 2;
    case D3DPT_LINESTRIP:
        return primitives + 1;
    case D3DPT_TRIANGLELIST:
        return primitives * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN:
        return primitives + 2;
    default:
        return 0;
    }
}

void ColorValue(D3DCOLOR c, float* out)
{
    out[0] = float((c >> 16) & 255) / 255.0f;
    out[1] = float((c >> 8) & 255) / 255.0f;
    out[2] = float(c & 255) / 255.0f;
    out[3] = float(c >> 24) / 255.0f;
}

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b)
{
    D3DMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
    return r;
}

}  // namespace

HRESULT Device::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                      DWORD Stencil)
{
    if ((Count && !pRects) || !(Flags & (D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)))
        return D3DERR_INVALIDCALL;
    const bool depth = parameters_.EnableAutoDepthStencil;
    if (((Flags & D3DCLEAR_ZBUFFER) && !depth) ||
        ((Flags & D3DCLEAR_STENCIL) && !(depth && HasStencil(parameters_.AutoDepthStencilFormat))))
        return D3DERR_INVALIDCALL;
    MakeCurrent();
    gl_.BindFramebuffer(framebuffer_);
    // Clear ignores the write masks of the render states.
    gl_.ColorMask(0xF);
    gl_.DepthMask(true);
    gl_.StencilMask(0xFFFFFFFF);
    gl_.Enable(GL_SCISSOR_TEST, true);
    GLbitfield mask = 0;
    if (Flags & D3DCLEAR_TARGET) {
        float c[4];
        ColorValue(Color, c);
        glClearColor(c[0], c[1], c[2], c[3]);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (Flags & D3DCLEAR_ZBUFFER) {
        glClearDepth(std::clamp(Z, 0.0f, 1.0f));
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (Flags & D3DCLEAR_STENCIL) {
        glClearStencil(GLint(Stencil));
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    // Direct3D clears the viewport, or the given rectangles inside it.
    const D3DVIEWPORT9& v = state_.viewport;
    const LONG vx1 = LONG(v.X), vy1 = LONG(v.Y), vx2 = LONG(v.X + v.Width), vy2 = LONG(v.Y + v.Height);
    const D3DRECT whole = {vx1, vy1, vx2, vy2};
    const D3DRECT* rects = Count ? pRects : &whole;
    for (DWORD i = 0; i < std::max<DWORD>(Count, 1); ++i) {
        const LONG x1 = std::max(rects[i].x1, vx1), y1 = std::max(rects[i].y1, vy1);
        const LONG x2 = std::min(rects[i].x2, vx2), y2 = std::min(rects[i].y2, vy2);
        if (x1 >= x2 || y1 >= y2)
            continue;
        // Back-buffer rows are Direct3D's rows: no flip.
        gl_.Scissor(x1, y1, x2 - x1, y2 - y1);
        glClear(mask);
    }
    return D3D_OK;
}

GLuint Device::SamplerOf(int stage)
{
    const DWORD* s = state_.sampler[stage];
    DWORD* shadow = samplerShadow_[stage];
    const GLuint sampler = samplers_[stage];
    const bool known = samplerKnown_[stage];
    auto changed = [&](int type) { return !known || shadow[type] != s[type]; };
    if (changed(D3DSAMP_MINFILTER) || changed(D3DSAMP_MIPFILTER))
        glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER,
                            GLint(MinFilter(s[D3DSAMP_MINFILTER], s[D3DSAMP_MIPFILTER])));
    if (changed(D3DSAMP_MAGFILTER))
        glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER,
                            s[D3DSAMP_MAGFILTER] == D3DTEXF_POINT ? GL_NEAREST : GL_LINEAR);
    if (changed(D3DSAMP_ADDRESSU))
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, GLint(Address(s[D3DSAMP_ADDRESSU])));
    if (changed(D3DSAMP_ADDRESSV))
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, GLint(Address(s[D3DSAMP_ADDRESSV])));
    if (changed(D3DSAMP_BORDERCOLOR)) {
        float c[4];
        ColorValue(s[D3DSAMP_BORDERCOLOR], c);
        glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, c);
    }
    if (changed(D3DSAMP_MAXMIPLEVEL))
        glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, float(s[D3DSAMP_MAXMIPLEVEL]));
    std::memcpy(shadow, s, sizeof(DWORD) * kSamplerStateCount);
    samplerKnown_[stage] = true;
    return sampler;
}

bool Device::FlushIfChanged(const VertexLayout& layout)
{
    if (!stateChanged_ && gl_.Changes() == flushedChanges_)
        return true;
    if (!FlushState(layout))
        return false;
    stateChanged_ = false;
    flushedChanges_ = gl_.Changes();
    return true;
}

bool Device::FlushState(const VertexLayout& layout)
{
    const DWORD* rs = state_.render;
    gl_.BindFramebuffer(framebuffer_);
    const D3DVIEWPORT9& v = state_.viewport;
    gl_.Viewport(GLint(v.X), GLint(v.Y), GLsizei(v.Width), GLsizei(v.Height));
    gl_.DepthRange(v.MinZ, v.MaxZ);
    gl_.Enable(GL_SCISSOR_TEST, false);

    const bool depthTest = rs[D3DRS_ZENABLE] != D3DZB_FALSE && depthBuffer_;
    gl_.Enable(GL_DEPTH_TEST, depthTest);
    if (depthTest) {
        gl_.DepthFunc(Comparison(rs[D3DRS_ZFUNC], GL_LEQUAL));
        gl_.DepthMask(rs[D3DRS_ZWRITEENABLE] != FALSE);
    }
    switch (rs[D3DRS_CULLMODE]) {
    case D3DCULL_NONE:
        gl_.Enable(GL_CULL_FACE, false);
        break;
    case D3DCULL_CW:  // Direct3D's clockwise is OpenGL's counter-clockwise front face
        gl_.Enable(GL_CULL_FACE, true);
        gl_.CullFace(GL_FRONT);
        break;
    default:
        gl_.Enable(GL_CULL_FACE, true);
        gl_.CullFace(GL_BACK);
        break;
    }
    gl_.PolygonMode(FillMode(rs[D3DRS_FILLMODE]));
    gl_.Enable(GL_BLEND, rs[D3DRS_ALPHABLENDENABLE] != FALSE);
    if (rs[D3DRS_ALPHABLENDENABLE]) {
        GLenum src, dst;
        if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHSRCALPHA) {
            src = GL_SRC_ALPHA, dst = GL_ONE_MINUS_SRC_ALPHA;
        } else if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHINVSRCALPHA) {
            src = GL_ONE_MINUS_SRC_ALPHA, dst = GL_SRC_ALPHA;
        } else {
            src = BlendFactor(rs[D3DRS_SRCBLEND], GL_ONE);
            dst = BlendFactor(rs[D3DRS_DESTBLEND], GL_ZERO);
        }
        gl_.BlendFunc(src, dst);
        gl_.BlendEquation(BlendEquation(rs[D3DRS_BLENDOP]));
    }
    gl_.ColorMask(rs[D3DRS_COLORWRITEENABLE] & 0xF);
    const bool stencil = rs[D3DRS_STENCILENABLE] && depthBuffer_ &&
                         HasStencil(parameters_.AutoDepthStencilFormat);
    gl_.Enable(GL_STENCIL_TEST, stencil);
    if (stencil) {
        gl_.StencilFunc(Comparison(rs[D3DRS_STENCILFUNC], GL_ALWAYS), GLint(rs[D3DRS_STENCILREF]),
                        rs[D3DRS_STENCILMASK]);
        gl_.StencilOp(StencilOperation(rs[D3DRS_STENCILFAIL]),
                      StencilOperation(rs[D3DRS_STENCILZFAIL]),
                      StencilOperation(rs[D3DRS_STENCILPASS]));
        gl_.StencilMask(rs[D3DRS_STENCILWRITEMASK]);
    }
    gl_.Enable(GL_DITHER, rs[D3DRS_DITHERENABLE] != FALSE);
    // Direct3D's flat shading takes the colour of a triangle's first vertex.
    gl_.ProvokingVertexFirst(true);
    if (rs[D3DRS_FOGENABLE])
        Unsupported("fog (D3DRS_FOGENABLE)", rs[D3DRS_FOGENABLE]);

    bool textured[kMaxStages] = {};
    for (int s = 0; s < kMaxStages; ++s) {
        Texture* t = AsTexture(state_.textures[s]);
        textured[s] = t && t->Gl();
        if (textured[s]) {
            gl_.BindTexture(s, t->Gl());
            gl_.BindSampler(s, SamplerOf(s));
        }
    }
    FfpProgram* program = shaders_->Get(MakeShaderKey(state_, layout, textured));
    if (!program)
        return false;
    gl_.UseProgram(program->id);
    SetUniforms(*program, layout);
    return true;
}

void Device::SetUniforms(FfpProgram& p, const VertexLayout& layout)
{
    const DeviceState& s = state_;
    std::array<float, std::tuple_size<decltype(p.sent)>::value> now{};
    const D3DMATRIX wvp =
        Multiply(Multiply(s.transforms[0], s.transforms[1]), s.transforms[2]);
    std::memcpy(&now[0], &wvp.m[0][0], 64);
    now[16] = float(s.viewport.X), now[17] = float(s.viewport.Y);
    now[18] = float(s.viewport.Width), now[19] = float(s.viewport.Height);
    now[20] = s.viewport.MinZ, now[21] = s.viewport.MaxZ;
    std::memcpy(&now[22], &s.material.Diffuse, 16);
    std::memcpy(&now[26], &s.material.Ambient, 16);
    std::memcpy(&now[30], &s.material.Emissive, 16);
    ColorValue(s.render[D3DRS_AMBIENT], &now[34]);
    ColorValue(s.render[D3DRS_TEXTUREFACTOR], &now[38]);
    // Vertex colours stand in for material colours only when the vertex has them.
    auto source = [&](DWORD rs) {
        if (!s.render[D3DRS_COLORVERTEX])
            return 0.0f;
        if (s.render[rs] == D3DMCS_COLOR1 && layout.diffuse >= 0)
            return 1.0f;
        if (s.render[rs] == D3DMCS_COLOR2 && layout.specular >= 0)
            return 2.0f;
        return 0.0f;
    };
    now[42] = source(D3DRS_DIFFUSEMATERIALSOURCE);
    now[43] = source(D3DRS_AMBIENTMATERIALSOURCE);
    now[44] = source(D3DRS_EMISSIVEMATERIALSOURCE);
    now[45] = float(s.render[D3DRS_ALPHAREF] & 0xFF);
    if (p.anySent && now == p.sent)
        return;
    auto differs = [&](size_t first, size_t count) {
        return !p.anySent || std::memcmp(&now[first], &p.sent[first], count * sizeof(float)) != 0;
    };
    if (differs(0, 16))
        glUniformMatrix4fv(p.worldViewProjection, 1, GL_FALSE, &now[0]);
    if (differs(16, 4))
        glUniform4fv(p.target, 1, &now[16]);
    if (differs(20, 2))
        glUniform2fv(p.depthRange, 1, &now[20]);
    if (differs(22, 4))
        glUniform4fv(p.materialDiffuse, 1, &now[22]);
    if (differs(26, 4))
        glUniform4fv(p.materialAmbient, 1, &now[26]);
    if (differs(30, 4))
        glUniform4fv(p.materialEmissive, 1, &now[30]);
    if (differs(34, 4))
        glUniform4fv(p.ambient, 1, &now[34]);
    if (differs(38, 4))
        glUniform4fv(p.textureFactor, 1, &now[38]);
    if (differs(42, 3))
        glUniform3i(p.colorSources, GLint(now[42]), GLint(now[43]), GLint(now[44]));
    if (differs(45, 1))
        glUniform1i(p.alphaRef, GLint(now[45]));
    p.sent = now;
    p.anySent = true;
}

void Device::BindVertexInput(const VertexLayout& layout, GLuint buffer, size_t offset, UINT stride)
{
    gl_.BindVertexArray(vertexArray_);
    if (inputFvf_ == state_.fvf && inputBuffer_ == buffer && inputOffset_ == offset &&
        inputStride_ == stride)
        return;
    gl_.BindArrayBuffer(buffer);
    auto at = [&](int element) { return reinterpret_cast<const void*>(offset + size_t(element)); };
    const GLsizei s = GLsizei(stride);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, layout.rhw ? 4 : 3, GL_FLOAT, GL_FALSE, s, at(0));
    glDisableVertexAttribArray(1);
    // D3DCOLOR is a little-endian ARGB word: B, G, R, A bytes.
    if (layout.diffuse >= 0) {
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, s, at(layout.diffuse));
    } else {
        glDisableVertexAttribArray(2);
    }
    if (layout.specular >= 0) {
        glEnableVertexAttribArray(3);
        glVertexAttribPointer(3, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, s, at(layout.specular));
    } else {
        glDisableVertexAttribArray(3);
    }
    for (int i = 0; i < kMaxTexCoordSets; ++i) {
        if (i < layout.texCount) {
            glEnableVertexAttribArray(GLuint(4 + i));
            glVertexAttribPointer(GLuint(4 + i), layout.texSize[i], GL_FLOAT, GL_FALSE, s,
                                  at(layout.texOffset[i]));
        } else {
            glDisableVertexAttribArray(GLuint(4 + i));
        }
    }
    inputFvf_ = state_.fvf;
    inputBuffer_ = buffer;
    inputOffset_ = offset;
    inputStride_ = stride;
}

HRESULT Device::Draw(D3DPRIMITIVETYPE type, UINT primitives, GLuint buffer, size_t offset,
                     UINT stride, UINT first)
{
    const VertexLayout layout = LayoutOfFvf(state_.fvf);
    if (!layout.valid) {
        Unsupported("vertex format", state_.fvf);
        return D3DERR_INVALIDCALL;
    }
    if (!FlushIfChanged(layout))
        return D3DERR_DRIVERINTERNALERROR;
    BindVertexInput(layout, buffer, offset, stride);
    glDrawArrays(PrimitiveMode(type), GLint(first), GLsizei(VertexCount(type, primitives)));
    return D3D_OK;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                              UINT PrimitiveCount)
{
    const UINT count = VertexCount(PrimitiveType, PrimitiveCount);
    VertexBuffer* vb = AsVertexBuffer(state_.stream);
    if (!PrimitiveMode(PrimitiveType) || !vb || state_.streamStride == 0)
        return D3DERR_INVALIDCALL;
    if (PrimitiveCount == 0)
        return D3D_OK;
    const uint64_t end = uint64_t(state_.streamOffset) +
                         (uint64_t(StartVertex) + count) * state_.streamStride;
    if (end > vb->Size())
        return D3DERR_INVALIDCALL;
    MakeCurrent();
    vb->Upload(UINT(state_.streamOffset + uint64_t(StartVertex) * state_.streamStride), UINT(end));
    return Draw(PrimitiveType, PrimitiveCount, vb->Gl(), state_.streamOffset, state_.streamStride,
                StartVertex);
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                const void* pVertexStreamZeroData, UINT VertexStreamZeroStride)
{
    const UINT count = VertexCount(PrimitiveType, PrimitiveCount);
    if (!PrimitiveMode(PrimitiveType) || !pVertexStreamZeroData || VertexStreamZeroStride == 0)
        return D3DERR_INVALIDCALL;
    // Direct3D leaves stream 0 unset after a draw from user memory.
    UnholdObject(state_.stream);
    state_.stream = nullptr;
    state_.streamOffset = state_.streamStride = 0;
    if (PrimitiveCount == 0)
        return D3D_OK;
    MakeCurrent();
    const size_t bytes = size_t(count) * VertexStreamZeroStride;
    gl_.BindArrayBuffer(streamBuffer_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(bytes), pVertexStreamZeroData, GL_STREAM_DRAW);
    return Draw(PrimitiveType, PrimitiveCount, streamBuffer_, 0, VertexStreamZeroStride, 0);
}

}  // namespace vexa::platform::d3d9
