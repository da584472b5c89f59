// Internal: the fixed-function pipeline as generated GLSL 330 programs. The key holds
// exactly what changes the generated code (vertex layout, lighting, texture stages, alpha
// test function); values that only change numbers (matrices, colours, the alpha
// reference) are uniforms. Programs are made once per key and kept.
#ifndef VEXA_PLATFORM_D3D9_FFP_SHADER_H
#define VEXA_PLATFORM_D3D9_FFP_SHADER_H

#include "device_state.h"
#include "vertex_layout.h"

#include <epoxy/gl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

namespace vexa::platform::d3d9 {

struct ShaderKey {
    std::array<uint32_t, 1 + 2 * kMaxStages> words{};
    bool operator==(const ShaderKey& o) const { return words == o.words; }
};

struct ShaderKeyHash {
    size_t operator()(const ShaderKey& key) const;
};

// textured[i]: a texture is bound to stage i.
ShaderKey MakeShaderKey(const DeviceState& state, const VertexLayout& layout,
                        const bool textured[kMaxStages]);

struct FfpProgram {
    GLuint id = 0;
    GLint worldViewProjection = -1, target = -1, depthRange = -1;
    GLint materialDiffuse = -1, materialAmbient = -1, materialEmissive = -1, ambient = -1;
    GLint colorSources = -1, textureFactor = -1, alphaRef = -1;
    // The values last sent, so an unchanged uniform is not sent again.
    std::array<float, 16 + 4 + 2 + 4 * 5 + 3 + 1> sent{};
    bool anySent = false;
};

class ShaderCache {
public:
    ShaderCache() = default;
    ShaderCache(const ShaderCache&) = delete;
    ShaderCache& operator=(const ShaderCache&) = delete;
    // Deletes the programs; the device's context must be current.
    ~ShaderCache();

    // Null when the driver rejects the generated code (logged once per key).
    FfpProgram* Get(const ShaderKey& key);

    // The generated sources, for the log of a failure.
    static std::string VertexSource(const ShaderKey& key);
    static std::string FragmentSource(const ShaderKey& key);

private:
    std::unordered_map<ShaderKey, std::unique_ptr<FfpProgram>, ShaderKeyHash> programs_;
};

}  // namespace vexa::platform::d3d9

#endif
