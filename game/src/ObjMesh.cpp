// CMeshModel::LoadObjMesh: Wavefront .obj files with positions ("v") and triangles ("f")
// only, as one subset without a material texture.
//
// Lines hold at most 9999 characters; shorter than 3 are skipped. Face indices count from
// 1, or back from the last vertex when negative (-1 is the last). Every refusal is an
// engine exception naming what was wrong; the model is then left empty:
// - texture coordinates ("vt") and faces with several index kinds ("1/2/3"),
// - a vertex or face line whose numbers do not read, a face before any vertex,
// - an index outside the vertices (0 included), a line longer than 9999 characters,
// - a file without vertices or faces.
#include "MeshModel.h"

#include <KvD3D9.h>
#include <kvException.h>
#include <vexa/platform.h>

#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

namespace {

constexpr size_t kLineChars = 9999;

void Refuse(const char* message) { NewException(message, KVEXCEPTION_GENERAL); }

struct ObjFile {
    FILE* file;
    ~ObjFile()
    {
        if (file)
            fclose(file);
    }
};

// Reads the next line into buffer (kLineChars + 2 bytes); false at the end of the file.
bool ReadLine(FILE* file, char* buffer)
{
    if (!fgets(buffer, int(kLineChars + 1), file))
        return false;
    const size_t length = strlen(buffer);
    if (length == kLineChars && buffer[length - 1] != '\n') {
        // Full buffer: only a line ending (or the file's end) may follow.
        const int next = fgetc(file);
        if (next == '\r') {
            const int after = fgetc(file);
            if (after != '\n' && after != EOF)
                Refuse("Lines of more than 9999 characters are not supported. (LoadObjMesh)");
        } else if (next != '\n' && next != EOF) {
            Refuse("Lines of more than 9999 characters are not supported. (LoadObjMesh)");
        }
    }
    return true;
}

// The three numbers after the line's first character, as "%c %f %f %f" would read them;
// false when one is missing or out of range.
bool ReadFloats(const char* line, float out[3])
{
    const char* at = line + 1;
    for (int i = 0; i < 3; ++i) {
        char* end = nullptr;
        errno = 0;
        out[i] = strtof(at, &end);
        if (end == at || errno == ERANGE)
            return false;
        at = end;
    }
    return true;
}

bool ReadInts(const char* line, long out[3])
{
    const char* at = line + 1;
    for (int i = 0; i < 3; ++i) {
        char* end = nullptr;
        errno = 0;
        out[i] = strtol(at, &end, 10);
        if (end == at || errno == ERANGE || out[i] < INT_MIN || out[i] > INT_MAX)
            return false;
        at = end;
    }
    return true;
}

bool Is(const char* line, char lower, char next)
{
    return (line[0] == lower || line[0] == lower - 32) &&
           (next == ' ' ? line[1] == ' ' : (line[1] == next || line[1] == next - 32));
}

}  // namespace

void CMeshModel::LoadObjMesh(const char* path)
{
    Destroy();
    ObjFile obj{fopen(vexa::platform::HostPath(path).c_str(), "r")};
    if (!obj.file)
        Refuse("Failed to load .obj file");
    std::vector<D3DXVECTOR3> positions;
    std::vector<long> indices;
    positions.reserve(16);
    indices.reserve(16);
    std::vector<char> line(kLineChars + 2);
    while (ReadLine(obj.file, line.data())) {
        const char* l = line.data();
        if (strlen(l) < 3)
            continue;
        if (Is(l, 'v', ' ')) {
            float p[3];
            if (!ReadFloats(l, p))
                Refuse("A vertex of the .obj file does not read as three numbers. (LoadObjMesh)");
            positions.push_back(D3DXVECTOR3(p[0], p[1], p[2]));
        } else if (Is(l, 'v', 't') && l[2] == ' ') {
            Refuse("Texture coordinates are not ported currently. (LoadObjMesh)");
        } else if (Is(l, 'f', ' ')) {
            if (strchr(l, '/'))
                Refuse("Multiple index are not ported currently. (LoadObjMesh)");
            if (positions.empty())
                Refuse("A face of the .obj file comes before any vertex. (LoadObjMesh)");
            long f[3];
            if (!ReadInts(l, f))
                Refuse("A face of the .obj file does not read as three indices. (LoadObjMesh)");
            indices.insert(indices.end(), f, f + 3);
        }
    }
    const long count = long(positions.size());
    if (indices.empty() || positions.size() > 0x7FFFFFFF)
        Refuse("The .obj file holds no faces. (LoadObjMesh)");
    std::vector<DWORD> resolved(indices.size());
    for (size_t i = 0; i < indices.size(); ++i) {
        const long index = indices[i];
        if (index == 0 || index > count || index < -count)
            Refuse("A face of the .obj file names a vertex it does not have. (LoadObjMesh)");
        resolved[i] = DWORD(index > 0 ? index - 1 : (count + index) % count);
    }

    static const D3DVERTEXELEMENT9 kPositionOnly[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        D3DDECL_END(),
    };
    const DWORD faces = DWORD(resolved.size() / 3);
    if (FAILED(D3DXCreateMesh(faces, DWORD(count), D3DXMESH_32BIT | D3DXMESH_MANAGED,
                              kPositionOnly, pd3dDevice, &mesh)) ||
        !mesh) {
        mesh = nullptr;
        Refuse("Failed to create the mesh of the .obj file. (LoadObjMesh)");
    }
    void* data = nullptr;
    if (SUCCEEDED(mesh->LockVertexBuffer(0, &data))) {
        memcpy(data, positions.data(), positions.size() * sizeof(D3DXVECTOR3));
        mesh->UnlockVertexBuffer();
    }
    if (SUCCEEDED(mesh->LockIndexBuffer(0, &data))) {
        memcpy(data, resolved.data(), resolved.size() * sizeof(DWORD));
        mesh->UnlockIndexBuffer();
    }
    DWORD* attributes = nullptr;
    if (SUCCEEDED(mesh->LockAttributeBuffer(0, &attributes))) {
        memset(attributes, 0, faces * sizeof(DWORD));
        mesh->UnlockAttributeBuffer();
    }
    materials = new MeshMaterial[1]();
    materials[0].textureName = new char[MESH_TEXTURE_NAME_SIZE]();
    materials[0].material.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f};
    materials[0].material.Ambient = materials[0].material.Diffuse;
    materialCount = 1;
    Optimize();
}
