// Generation of the fixed-function programs.
//
// Positions follow Direct3D 9 exactly. Direct3D puts pixel centres on integer screen
// coordinates, OpenGL half a pixel further; both the transformed and the pre-transformed
// (XYZRHW) paths add that half pixel here and nowhere else. The back buffer keeps
// Direct3D's top row as OpenGL's row 0, so clip y is negated: screen rows are then the same
// numbers in both APIs, and Direct3D's clockwise front faces become OpenGL's
// counter-clockwise ones. Clip z of 0..w is stretched to OpenGL's -w..w.
#include "ffp_shader.h"


#include <cstdio>
#include <cstring>
#include <vector>

namespace vexa::platform::d3d9 {

namespace {

bool UsesArg1(DWORD op) { return op != D3DTOP_SELECTARG2 && op != D3DTOP_DISABLE; }
bool UsesArg2(DWORD op) { return op != D3DTOP_SELECTARG1 && op != D3DTOP_DISABLE; }
bool IsTexture(DWORD arg) { return (arg & D3DTA_SELECTMASK) == D3DTA_TEXTURE; }

// A stage without a texture passes the colour on when its operation would read the
// texture, which is what Direct3D 9 drivers do (an untextured, alpha-blended rectangle
// keeps its vertex alpha under the default stage states).
void Untextured(DWORD& op, DWORD& arg1, DWORD& arg2)
{
    if ((UsesArg1(op) && IsTexture(arg1)) || (UsesArg2(op) && IsTexture(arg2))) {
        op = D3DTOP_SELECTARG1;
        arg1 = D3DTA_CURRENT;
        arg2 = D3DTA_CURRENT;
    }
}

struct Stage {
    DWORD colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2, texCoord;
    bool textured, point;
};

Stage StageOf(const ShaderKey& key, int s)
{
    const uint32_t c = key.words[1 + 2 * s], a = key.words[2 + 2 * s];
    return Stage{c & 31,         (c >> 5) & 63,  (c >> 11) & 63, a & 31,
                 (a >> 5) & 63,  (a >> 11) & 63, (c >> 17) & 15, ((c >> 21) & 1) != 0,
                 ((c >> 22) & 1) != 0};
}

bool Rhw(const ShaderKey& k) { return k.words[0] & 1; }
bool HasDiffuse(const ShaderKey& k) { return (k.words[0] >> 1) & 1; }
bool HasSpecular(const ShaderKey& k) { return (k.words[0] >> 2) & 1; }
int TexCount(const ShaderKey& k) { return int((k.words[0] >> 3) & 15); }
bool Lit(const ShaderKey& k) { return (k.words[0] >> 7) & 1; }
bool Flat(const ShaderKey& k) { return (k.words[0] >> 8) & 1; }
DWORD AlphaFunc(const ShaderKey& k) { return (k.words[0] >> 9) & 15; }
bool SpecularOn(const ShaderKey& k) { return (k.words[0] >> 13) & 1; }
int TexSize(const ShaderKey& k, int i) { return int((k.words[0] >> (14 + 2 * i)) & 3) + 1; }

void WarnOnce(const char* what)
{
    static std::vector<std::string> warned;
    for (const std::string& w : warned)
        if (w == what)
            return;
    warned.emplace_back(what);
    std::fprintf(stderr, "Direct3D fixed-function: %s is not emulated\n", what);
}

std::string Arg(DWORD arg, int stage)
{
    std::string v;
    switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE:
        v = "vDiffuse";
        break;
    case D3DTA_CURRENT:
        v = "current";
        break;
    case D3DTA_TEXTURE:
        v = "texel" + std::to_string(stage);
        break;
    case D3DTA_TFACTOR:
        v = "uTextureFactor";
        break;
    case D3DTA_SPECULAR:
        v = "vSpecular";
        break;
    default:
        WarnOnce("a texture argument other than DIFFUSE, CURRENT, TEXTURE, TFACTOR, SPECULAR");
        v = "vec4(0.0)";
        break;
    }
    if (arg & D3DTA_COMPLEMENT)
        v = "(vec4(1.0) - " + v + ")";
    if (arg & D3DTA_ALPHAREPLICATE)
        v = "vec4((" + v + ").a)";
    return v;
}

// The expression of a stage operation over vec4 arguments; the caller takes .rgb or .a.
std::string Operation(DWORD op, const std::string& a1, const std::string& a2, int stage)
{
    const std::string t = "texel" + std::to_string(stage);
    switch (op) {
    case D3DTOP_SELECTARG1:
        return a1;
    case D3DTOP_SELECTARG2:
        return a2;
    case D3DTOP_MODULATE:
        return a1 + " * " + a2;
    case D3DTOP_MODULATE2X:
        return "2.0 * " + a1 + " * " + a2;
    case D3DTOP_MODULATE4X:
        return "4.0 * " + a1 + " * " + a2;
    case D3DTOP_ADD:
        return a1 + " + " + a2;
    case D3DTOP_ADDSIGNED:
        return a1 + " + " + a2 + " - vec4(0.5)";
    case D3DTOP_ADDSIGNED2X:
        return "2.0 * (" + a1 + " + " + a2 + " - vec4(0.5))";
    case D3DTOP_SUBTRACT:
        return a1 + " - " + a2;
    case D3DTOP_ADDSMOOTH:
        return a1 + " + " + a2 + " - " + a1 + " * " + a2;
    case D3DTOP_BLENDDIFFUSEALPHA:
        return "mix(" + a2 + ", " + a1 + ", vDiffuse.a)";
    case D3DTOP_BLENDTEXTUREALPHA:
        return "mix(" + a2 + ", " + a1 + ", " + t + ".a)";
    case D3DTOP_BLENDFACTORALPHA:
        return "mix(" + a2 + ", " + a1 + ", uTextureFactor.a)";
    case D3DTOP_BLENDCURRENTALPHA:
        return "mix(" + a2 + ", " + a1 + ", current.a)";
    case D3DTOP_BLENDTEXTUREALPHAPM:
        return a1 + " + " + a2 + " * (1.0 - " + t + ".a)";
    default:
        WarnOnce("a texture operation beyond the blend operations");
        return a1;
    }
}

const char* Comparison(DWORD func)
{
    switch (func) {
    case D3DCMP_NEVER:
        return "false";
    case D3DCMP_LESS:
        return "alpha < uAlphaRef";
    case D3DCMP_EQUAL:
        return "alpha == uAlphaRef";
    case D3DCMP_LESSEQUAL:
        return "alpha <= uAlphaRef";
    case D3DCMP_GREATER:
        return "alpha > uAlphaRef";
    case D3DCMP_NOTEQUAL:
        return "alpha != uAlphaRef";
    case D3DCMP_GREATEREQUAL:
        return "alpha >= uAlphaRef";
    default:
        return "true";
    }
}

GLuint Compile(GLenum type, const std::string& source)
{
    GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "Direct3D fixed-function shader:\n%s\n%s\n", source.c_str(), log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

size_t ShaderKeyHash::operator()(const ShaderKey& key) const
{
    size_t h = 1469598103934665603ull;
    for (uint32_t w : key.words)
        h = (h ^ w) * 1099511628211ull;
    return h;
}

ShaderKey MakeShaderKey(const DeviceState& state, const VertexLayout& layout,
                        const bool textured[kMaxStages])
{
    ShaderKey key;
    const DWORD* rs = state.render;
    uint32_t w = 0;
    w |= layout.rhw ? 1u : 0u;
    w |= layout.diffuse >= 0 ? 2u : 0u;
    w |= layout.specular >= 0 ? 4u : 0u;
    w |= uint32_t(layout.texCount) << 3;
    if (rs[D3DRS_LIGHTING] && !layout.rhw)
        w |= 1u << 7;
    if (rs[D3DRS_SHADEMODE] == D3DSHADE_FLAT)
        w |= 1u << 8;
    if (rs[D3DRS_ALPHATESTENABLE])
        w |= (rs[D3DRS_ALPHAFUNC] & 15) << 9;
    if (rs[D3DRS_SPECULARENABLE])
        w |= 1u << 13;
    for (int i = 0; i < layout.texCount; ++i)
        w |= uint32_t(layout.texSize[i] - 1) << (14 + 2 * i);
    key.words[0] = w;

    for (int s = 0; s < kMaxStages; ++s) {
        const DWORD* st = state.stage[s];
        DWORD colorOp = st[D3DTSS_COLOROP];
        if (colorOp == D3DTOP_DISABLE || colorOp > 31)
            break;
        DWORD c1 = st[D3DTSS_COLORARG1] & 63, c2 = st[D3DTSS_COLORARG2] & 63;
        DWORD alphaOp = st[D3DTSS_ALPHAOP];
        DWORD a1 = st[D3DTSS_ALPHAARG1] & 63, a2 = st[D3DTSS_ALPHAARG2] & 63;
        if (alphaOp == D3DTOP_DISABLE || alphaOp > 31) {
            // Alpha of a running stage cannot be off; it carries the current alpha.
            alphaOp = D3DTOP_SELECTARG1;
            a1 = a2 = D3DTA_CURRENT;
        }
        if (!textured[s]) {
            Untextured(colorOp, c1, c2);
            Untextured(alphaOp, a1, a2);
        }
        DWORD index = st[D3DTSS_TEXCOORDINDEX];
        if (index >> 16)
            WarnOnce("texture coordinate generation (D3DTSS_TCI_*)");
        index &= 0xFFFF;
        if (index > 15)
            index = 15;
        const bool point = textured[s] && state.sampler[s][D3DSAMP_MAGFILTER] == D3DTEXF_POINT;
        key.words[1 + 2 * s] = colorOp | (c1 << 5) | (c2 << 11) | (index << 17) |
                               (textured[s] ? 1u << 21 : 0u) | (point ? 1u << 22 : 0u);
        key.words[2 + 2 * s] = alphaOp | (a1 << 5) | (a2 << 11);
    }
    return key;
}

std::string ShaderCache::VertexSource(const ShaderKey& key)
{
    std::string s = "#version 330 core\n"
                    "layout(location = 0) in vec4 aPosition;\n"
                    "layout(location = 2) in vec4 aDiffuse;\n"
                    "layout(location = 3) in vec4 aSpecular;\n";
    const int texCount = TexCount(key);
    for (int i = 0; i < texCount; ++i)
        s += "layout(location = " + std::to_string(4 + i) + ") in vec4 aTex" + std::to_string(i) +
             ";\nout vec4 vTex" + std::to_string(i) + ";\n";
    const char* interpolation = Flat(key) ? "flat " : "";
    s += std::string(interpolation) + "out vec4 vDiffuse;\n" + interpolation + "out vec4 vSpecular;\n";
    s += "uniform mat4 uWorldViewProjection;\n"
         "uniform vec4 uTarget;\n"  // viewport x, y, width, height in pixels
         "uniform vec2 uDepthRange;\n"
         "uniform vec4 uMaterialDiffuse, uMaterialAmbient, uMaterialEmissive, uAmbient;\n"
         "uniform ivec3 uColorSources;\n"
         "vec4 Source(int which, vec4 material) {\n"
         "    return which == 1 ? aDiffuse : which == 2 ? aSpecular : material;\n"
         "}\n"
         "void main() {\n";
    if (Rhw(key)) {
        s += "    float w = aPosition.w > 0.0 && !isinf(1.0 / aPosition.w) ? 1.0 / aPosition.w "
             ": 1.0;\n"
             "    vec2 ndc = (aPosition.xy + vec2(0.5) - uTarget.xy) / uTarget.zw * 2.0 - 1.0;\n"
             "    float span = uDepthRange.y - uDepthRange.x;\n"
             "    float depth = span > 0.0 ? (aPosition.z - uDepthRange.x) / span : aPosition.z;\n"
             "    gl_Position = vec4(ndc, depth * 2.0 - 1.0, 1.0) * w;\n";
    } else {
        s += "    vec4 clip = uWorldViewProjection * vec4(aPosition.xyz, 1.0);\n"
             "    gl_Position = vec4(clip.x + clip.w / uTarget.z, -clip.y + clip.w / uTarget.w,\n"
             "                       2.0 * clip.z - clip.w, clip.w);\n";
    }
    const std::string diffuse = HasDiffuse(key) ? "aDiffuse" : "vec4(1.0)";
    const std::string specular = HasSpecular(key) ? "aSpecular" : "vec4(0.0)";
    if (Lit(key)) {
        // No light is ever enabled: what remains of Direct3D's lighting equation is the
        // emissive colour plus the global ambient light on the ambient colour.
        s += "    vec4 emissive = Source(uColorSources.z, uMaterialEmissive);\n"
             "    vec4 ambient = Source(uColorSources.y, uMaterialAmbient);\n"
             "    vDiffuse = vec4(clamp(emissive.rgb + uAmbient.rgb * ambient.rgb, 0.0, 1.0),\n"
             "                    Source(uColorSources.x, uMaterialDiffuse).a);\n"
             "    vSpecular = vec4(0.0);\n";
    } else {
        s += "    vDiffuse = " + diffuse + ";\n    vSpecular = " + specular + ";\n";
    }
    for (int i = 0; i < texCount; ++i)
        s += "    vTex" + std::to_string(i) + " = aTex" + std::to_string(i) + ";\n";
    s += "}\n";
    return s;
}

std::string ShaderCache::FragmentSource(const ShaderKey& key)
{
    const int texCount = TexCount(key);
    const char* interpolation = Flat(key) ? "flat " : "";
    std::string s = "#version 330 core\n";
    s += std::string(interpolation) + "in vec4 vDiffuse;\n" + interpolation + "in vec4 vSpecular;\n";
    for (int i = 0; i < texCount; ++i)
        s += "in vec4 vTex" + std::to_string(i) + ";\n";
    s += "uniform vec4 uTextureFactor;\n"
         "uniform int uAlphaRef;\n"
         "layout(location = 0) out vec4 fragColor;\n";
    for (int st = 0; st < kMaxStages; ++st)
        if (StageOf(key, st).textured)
            s += "uniform sampler2D uTexture" + std::to_string(st) + ";\n";
    s += "void main() {\n    vec4 current = vDiffuse;\n";
    for (int st = 0; st < kMaxStages; ++st) {
        const Stage stage = StageOf(key, st);
        if (stage.colorOp == 0)
            break;
        const std::string n = std::to_string(st);
        if (stage.textured) {
            std::string coord = "vec2(0.0)";
            if (int(stage.texCoord) < texCount)
                coord = TexSize(key, int(stage.texCoord)) >= 2
                            ? "vTex" + std::to_string(stage.texCoord) + ".xy"
                            : "vec2(vTex" + std::to_string(stage.texCoord) + ".x, 0.0)";
            if (stage.point) {
                // Direct3D hardware snaps texture coordinates to 1/256 of a texel before
                // it picks one, so a pixel centre that falls on a texel edge (every pixel
                // of a quad drawn one to one) takes the texel right of and below the edge,
                // in both triangles. Interpolation leaves such a coordinate a rounding
                // error to either side; the snap to the middle of its sub-texel step puts
                // it back where Direct3D has it.
                s += "    vec2 size" + n + " = vec2(textureSize(uTexture" + n + ", 0));\n"
                     "    vec2 snapped" + n + " = (floor(" + coord + " * size" + n +
                     " * 256.0 + 0.5) + 0.5) / (size" + n + " * 256.0);\n";
                coord = "snapped" + n;
            }
            s += "    vec4 texel" + n + " = texture(uTexture" + n + ", " + coord + ");\n";
        } else {
            s += "    vec4 texel" + n + " = vec4(1.0);\n";
        }
        const std::string color = Operation(stage.colorOp, Arg(stage.colorArg1, st),
                                            Arg(stage.colorArg2, st), st);
        const std::string alpha = Operation(stage.alphaOp, Arg(stage.alphaArg1, st),
                                            Arg(stage.alphaArg2, st), st);
        s += "    {\n        vec3 c = (" + color + ").rgb;\n        float a = (" + alpha +
             ").a;\n        current = clamp(vec4(c, a), 0.0, 1.0);\n    }\n";
    }
    if (SpecularOn(key))
        s += "    current.rgb = clamp(current.rgb + vSpecular.rgb, 0.0, 1.0);\n";
    if (AlphaFunc(key)) {
        // Direct3D compares the 8-bit alpha with the 8-bit reference.
        s += "    int alpha = int(floor(current.a * 255.0 + 0.5));\n"
             "    if (!(" +
             std::string(Comparison(AlphaFunc(key))) + ")) discard;\n";
    }
    s += "    fragColor = current;\n}\n";
    return s;
}

ShaderCache::~ShaderCache()
{
    for (auto& entry : programs_)
        if (entry.second && entry.second->id)
            glDeleteProgram(entry.second->id);
}

FfpProgram* ShaderCache::Get(const ShaderKey& key)
{
    auto found = programs_.find(key);
    if (found != programs_.end())
        return found->second.get();
    auto program = std::make_unique<FfpProgram>();
    GLuint vs = Compile(GL_VERTEX_SHADER, VertexSource(key));
    GLuint fs = vs ? Compile(GL_FRAGMENT_SHADER, FragmentSource(key)) : 0;
    if (vs && fs) {
        GLuint id = glCreateProgram();
        glAttachShader(id, vs);
        glAttachShader(id, fs);
        glLinkProgram(id);
        GLint ok = 0;
        glGetProgramiv(id, GL_LINK_STATUS, &ok);
        if (ok) {
            program->id = id;
        } else {
            char log[2048] = {};
            glGetProgramInfoLog(id, sizeof log, nullptr, log);
            std::fprintf(stderr, "Direct3D fixed-function program: %s\n", log);
            glDeleteProgram(id);
        }
    }
    if (vs)
        glDeleteShader(vs);
    if (fs)
        glDeleteShader(fs);
    FfpProgram* p = program.get();
    if (p->id) {
        GLuint id = p->id;
        p->worldViewProjection = glGetUniformLocation(id, "uWorldViewProjection");
        p->target = glGetUniformLocation(id, "uTarget");
        p->depthRange = glGetUniformLocation(id, "uDepthRange");
        p->materialDiffuse = glGetUniformLocation(id, "uMaterialDiffuse");
        p->materialAmbient = glGetUniformLocation(id, "uMaterialAmbient");
        p->materialEmissive = glGetUniformLocation(id, "uMaterialEmissive");
        p->ambient = glGetUniformLocation(id, "uAmbient");
        p->colorSources = glGetUniformLocation(id, "uColorSources");
        p->textureFactor = glGetUniformLocation(id, "uTextureFactor");
        p->alphaRef = glGetUniformLocation(id, "uAlphaRef");
        glUseProgram(id);
        for (int st = 0; st < kMaxStages; ++st) {
            GLint sampler = glGetUniformLocation(id, ("uTexture" + std::to_string(st)).c_str());
            if (sampler >= 0)
                glUniform1i(sampler, st);
        }
    }
    programs_.emplace(key, std::move(program));
    return p->id ? p : nullptr;
}

}  // namespace vexa::platform::d3d9
