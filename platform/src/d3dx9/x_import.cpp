// ReadXScene: Assimp in a forked child, the scene sent back through a pipe.
//
// The child resets the crash signals to their defaults (a crash ends it quietly rather
// than running the parent's handlers), arms an alarm against hangs, parses, writes the
// scene and leaves with _exit, so nothing of the parent's runs twice. The parent reads
// until the pipe closes and takes the scene only from a child that exited with status 0.
#include "x_scene.h"

#include <vexa/platform.h>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <new>
#include <unordered_map>

#include <sys/wait.h>
#include <unistd.h>

namespace vexa::platform::d3dx9 {

namespace {

// Larger files are refused before Assimp sees them.
constexpr std::streamoff kMaxFileBytes = 64 << 20;
// A child parsing longer than this is taken for hung.
constexpr unsigned kParseSeconds = 20;

// ---- the wire form: little-endian words, floats and length-prefixed bytes -------------------
class Writer {
public:
    void Word(uint32_t v) { bytes_.append(reinterpret_cast<const char*>(&v), 4); }
    void Float(float f) { bytes_.append(reinterpret_cast<const char*>(&f), 4); }
    void Floats(const float* f, size_t n) { bytes_.append(reinterpret_cast<const char*>(f), n * 4); }
    void Text(const std::string& s)
    {
        Word(uint32_t(s.size()));
        bytes_ += s;
    }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    bool Ok() const { return ok_; }
    uint32_t Word()
    {
        uint32_t v = 0;
        Take(&v, 4);
        return v;
    }
    float Float()
    {
        float f = 0;
        Take(&f, 4);
        return f;
    }
    // A count of items of itemBytes each that the rest of the bytes can hold.
    uint32_t Count(size_t itemBytes)
    {
        const uint32_t n = Word();
        if (ok_ && uint64_t(n) * std::max<size_t>(itemBytes, 1) > bytes_.size() - at_)
            ok_ = false;
        return ok_ ? n : 0;
    }
    void Floats(float* out, size_t n) { Take(out, n * 4); }
    std::string Text()
    {
        const uint32_t n = Count(1);
        std::string s = ok_ ? bytes_.substr(at_, n) : std::string();
        at_ += ok_ ? n : 0;
        return s;
    }

private:
    void Take(void* out, size_t n)
    {
        if (!ok_ || n > bytes_.size() - at_) {
            ok_ = false;
            std::memset(out, 0, n);
            return;
        }
        std::memcpy(out, bytes_.data() + at_, n);
        at_ += n;
    }
    const std::string& bytes_;
    size_t at_ = 0;
    bool ok_ = true;
};

D3DCOLOR PackColor(const aiColor4D& c)
{
    auto byte = [](float f) { return DWORD(std::clamp(f, 0.0f, 1.0f) * 255.0f + 0.5f); };
    return (byte(c.a) << 24) | (byte(c.r) << 16) | (byte(c.g) << 8) | byte(c.b);
}

void WriteColor(Writer& w, const aiMaterial* m, const char* key, unsigned type, unsigned index)
{
    aiColor4D c(0, 0, 0, 1);
    if (m->Get(key, type, index, c) != AI_SUCCESS)
        c = aiColor4D(0, 0, 0, 1);
    const float f[4] = {c.r, c.g, c.b, c.a};
    w.Floats(f, 4);
}

// The nodes depth first, each with its place in that order.
void ListNodes(const aiNode* node, std::vector<const aiNode*>& order,
               std::unordered_map<const aiNode*, uint32_t>& place)
{
    place.emplace(node, uint32_t(order.size()));
    order.push_back(node);
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        ListNodes(node->mChildren[i], order, place);
}

// The scene in wire form (child side).
std::string Encode(const aiScene* s)
{
    Writer w;
    bool animated = s->mNumAnimations > 0;
    for (unsigned i = 0; i < s->mNumMeshes; ++i)
        animated = animated || s->mMeshes[i]->mNumBones > 0;
    w.Word(animated ? 1 : 0);
    w.Word(s->mNumMaterials);
    for (unsigned i = 0; i < s->mNumMaterials; ++i) {
        const aiMaterial* m = s->mMaterials[i];
        WriteColor(w, m, AI_MATKEY_COLOR_DIFFUSE);
        WriteColor(w, m, AI_MATKEY_COLOR_SPECULAR);
        WriteColor(w, m, AI_MATKEY_COLOR_EMISSIVE);
        float power = 0.0f;
        m->Get(AI_MATKEY_SHININESS, power);
        w.Float(power);
        aiString file;
        w.Text(m->GetTexture(aiTextureType_DIFFUSE, 0, &file) == AI_SUCCESS ? file.C_Str() : "");
    }
    w.Word(s->mNumMeshes);
    for (unsigned i = 0; i < s->mNumMeshes; ++i) {
        const aiMesh* m = s->mMeshes[i];
        const uint32_t n = m->mNumVertices;
        const uint32_t flags = (m->HasNormals() ? 1 : 0) | (m->HasTextureCoords(0) ? 2 : 0) |
                               (m->HasVertexColors(0) ? 4 : 0);
        w.Word(n);
        w.Word(flags);
        w.Word(m->mMaterialIndex);
        for (uint32_t v = 0; v < n; ++v) {
            w.Floats(&m->mVertices[v].x, 3);
            if (flags & 1)
                w.Floats(&m->mNormals[v].x, 3);
            if (flags & 2)
                w.Floats(&m->mTextureCoords[0][v].x, 2);
            if (flags & 4)
                w.Word(PackColor(m->mColors[0][v]));
        }
        uint32_t triangles = 0;
        for (unsigned f = 0; f < m->mNumFaces; ++f)
            triangles += m->mFaces[f].mNumIndices == 3;
        w.Word(triangles);
        for (unsigned f = 0; f < m->mNumFaces; ++f)
            if (m->mFaces[f].mNumIndices == 3)
                for (int k = 0; k < 3; ++k)
                    w.Word(m->mFaces[f].mIndices[k]);
    }
    std::vector<const aiNode*> order;
    std::unordered_map<const aiNode*, uint32_t> place;
    ListNodes(s->mRootNode, order, place);
    w.Word(uint32_t(order.size()));
    for (const aiNode* node : order) {
        w.Text(node->mName.C_Str());
        const aiMatrix4x4& t = node->mTransformation;
        const float m[16] = {t.a1, t.b1, t.c1, t.d1, t.a2, t.b2, t.c2, t.d2,
                             t.a3, t.b3, t.c3, t.d3, t.a4, t.b4, t.c4, t.d4};
        w.Floats(m, 16);
        w.Word(node->mNumMeshes);
        for (unsigned i = 0; i < node->mNumMeshes; ++i)
            w.Word(node->mMeshes[i]);
        w.Word(node->mNumChildren);
        for (unsigned i = 0; i < node->mNumChildren; ++i)
            w.Word(place[node->mChildren[i]]);
    }
    return w.Bytes();
}

// The scene from wire form (parent side); false when it does not hold together.
bool Decode(const std::string& bytes, XScene* out)
{
    Reader r(bytes);
    XScene& s = *out;
    s.animated = r.Word() != 0;
    s.materials.resize(r.Count(52));
    for (XMaterial& m : s.materials) {
        r.Floats(&m.diffuse.r, 4);
        r.Floats(&m.specular.r, 4);
        r.Floats(&m.emissive.r, 4);
        m.power = r.Float();
        m.texture = r.Text();
    }
    s.meshes.resize(r.Count(16));
    for (XMesh& m : s.meshes) {
        const uint32_t n = r.Count(12);
        const uint32_t flags = r.Word();
        m.material = r.Word();
        if (!r.Ok() || (n && m.material >= s.materials.size()))
            return false;
        m.positions.resize(n);
        m.normals.resize(flags & 1 ? n : 0);
        m.texcoords.resize(flags & 2 ? size_t(n) * 2 : 0);
        m.colors.resize(flags & 4 ? n : 0);
        for (uint32_t v = 0; v < n && r.Ok(); ++v) {
            r.Floats(&m.positions[v].x, 3);
            if (flags & 1)
                r.Floats(&m.normals[v].x, 3);
            if (flags & 2)
                r.Floats(&m.texcoords[size_t(v) * 2], 2);
            if (flags & 4)
                m.colors[v] = r.Word();
        }
        m.triangles.resize(size_t(r.Count(12)) * 3);
        for (DWORD& index : m.triangles)
            if ((index = r.Word()) >= n)
                return false;
    }
    s.nodes.resize(r.Count(72));
    for (size_t i = 0; i < s.nodes.size() && r.Ok(); ++i) {
        XNode& node = s.nodes[i];
        node.name = r.Text();
        float m[16];
        r.Floats(m, 16);
        node.matrix = D3DXMATRIX(m);
        node.meshes.resize(r.Count(4));
        for (DWORD& mesh : node.meshes)
            if ((mesh = r.Word()) >= s.meshes.size())
                return false;
        node.children.resize(r.Count(4));
        for (DWORD& child : node.children)
            if ((child = r.Word()) <= i || child >= s.nodes.size())
                return false;  // children follow their parent: no cycles
    }
    return r.Ok() && !s.nodes.empty();
}

}  // namespace
}  // namespace vexa::platform::d3dx9

// Present in sanitizer builds only: what a sanitizer runs when it ends the process.
extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

namespace vexa::platform::d3dx9 {
namespace {

// Child side: parse and write; never returns.
[[noreturn]] void ParseInChild(const std::vector<char>& bytes, int pipe)
{
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        std::signal(sig, SIG_DFL);
    // A sanitizer stopping the child (Assimp asking for gigabytes) reports there, but the
    // parent's death handlers (a fuzzer's crash report) are not the child's to run.
    if (__sanitizer_set_death_callback)
        __sanitizer_set_death_callback(nullptr);
    alarm(kParseSeconds);
    int status = 1;
    try {
        Assimp::Importer importer;
        const unsigned flags = aiProcess_Triangulate | aiProcess_JoinIdenticalVertices |
                               aiProcess_ConvertToLeftHanded | aiProcess_ValidateDataStructure;
        const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(), flags, "x");
        if (scene && scene->mRootNode) {
            const std::string wire = Encode(scene);
            size_t sent = 0;
            while (sent < wire.size()) {
                const ssize_t n = write(pipe, wire.data() + sent, wire.size() - sent);
                if (n <= 0)
                    break;
                sent += size_t(n);
            }
            status = sent == wire.size() ? 0 : 1;
        }
    } catch (...) {
        status = 1;
    }
    _exit(status);
}

}  // namespace

HRESULT ReadXScene(const char* path, XScene* out)
{
    if (!path || !out)
        return D3DERR_INVALIDCALL;
    std::ifstream in(vexa::platform::HostPath(path), std::ios::binary | std::ios::ate);
    if (!in)
        return D3DXERR_INVALIDDATA;
    const std::streamoff size = in.tellg();
    if (size < 16 || size > kMaxFileBytes)
        return D3DXERR_INVALIDDATA;
    std::vector<char> bytes;
    try {
        bytes.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    in.seekg(0);
    if (!in.read(bytes.data(), size))
        return D3DXERR_INVALIDDATA;
    // Every .x file opens with this signature; nothing else reaches the importer.
    if (std::memcmp(bytes.data(), "xof ", 4) != 0)
        return D3DXERR_INVALIDDATA;

    int fds[2];
    if (pipe(fds) != 0)
        return E_OUTOFMEMORY;
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return E_OUTOFMEMORY;
    }
    if (child == 0) {
        close(fds[0]);
        ParseInChild(bytes, fds[1]);
    }
    close(fds[1]);
    std::string wire;
    char chunk[65536];
    for (;;) {
        const ssize_t n = read(fds[0], chunk, sizeof chunk);
        if (n > 0)
            wire.append(chunk, size_t(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return D3DXERR_INVALIDDATA;
    try {
        return Decode(wire, out) ? D3D_OK : D3DXERR_INVALIDDATA;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace vexa::platform::d3dx9
