// Image files: BMP, JPG, TGA and PNG through the system's stb_image. The file format is
// told by its signature (TGA has none and is what remains), the D3D format by its
// channels, as D3DX reports them in D3DXIMAGE_INFO.
//
// stb_image decodes a truncated BMP, TGA or JPEG as if the missing bytes were zeros and
// reports success, so the bytes reach it through reading callbacks that note a request
// past the end: a picture that asks for more than the file holds is refused as corrupt.
#include "image_file.h"

#include <vexa/platform.h>

#include <stb_image.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace vexa::platform::d3dx9 {

namespace {

// Larger images than this are refused before decoding: 32 M pixels (8192 x 4096, 128 MiB
// of A8R8G8B8), more than any picture the game draws, and an edge beyond the largest
// texture any device makes. A corrupt header must not cost gigabytes.
constexpr unsigned long long kMaxPixels = 1ull << 25;
constexpr int kMaxEdge = 16384;

// The file's bytes as stb_image reads them through callbacks.
struct Reader {
    const std::vector<unsigned char>* bytes;
    size_t at = 0;
    bool pastEnd = false;  // a read was asked for after the last byte

    static int Read(void* user, char* data, int size)
    {
        Reader* r = static_cast<Reader*>(user);
        const size_t left = r->bytes->size() - r->at;
        if (left == 0 && size > 0) {
            r->pastEnd = true;
            return 0;
        }
        const size_t n = std::min(left, size_t(size));
        std::memcpy(data, r->bytes->data() + r->at, n);
        r->at += n;
        return int(n);
    }
    // stb_image skips forward only. Skipping past the end is not yet a fault: a BMP may
    // lack its last row's padding. Reading there is.
    static void Skip(void* user, int n)
    {
        Reader* r = static_cast<Reader*>(user);
        r->at += std::min(r->bytes->size() - r->at, size_t(std::max(n, 0)));
    }
    static int Eof(void* user)
    {
        Reader* r = static_cast<Reader*>(user);
        return r->at >= r->bytes->size();
    }
};

const stbi_io_callbacks kCallbacks = {Reader::Read, Reader::Skip, Reader::Eof};

bool ReadWholeFile(const char* path, std::vector<unsigned char>* bytes)
{
    std::ifstream in(vexa::platform::HostPath(path), std::ios::binary);
    if (!in)
        return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

D3DXIMAGE_FILEFORMAT FileFormatOf(const std::vector<unsigned char>& b)
{
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M')
        return D3DXIFF_BMP;
    if (b.size() >= 8 && std::memcmp(b.data(), "\x89PNG\r\n\x1a\n", 8) == 0)
        return D3DXIFF_PNG;
    if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF)
        return D3DXIFF_JPG;
    if (b.size() >= 4 && std::memcmp(b.data(), "DDS ", 4) == 0)
        return D3DXIFF_DDS;
    return D3DXIFF_TGA;
}

D3DFORMAT FormatOfChannels(int channels)
{
    switch (channels) {
    case 1:
        return D3DFMT_L8;
    case 2:
        return D3DFMT_A8L8;
    case 3:
        return D3DFMT_R8G8B8;
    default:
        return D3DFMT_A8R8G8B8;
    }
}

}  // namespace

HRESULT ReadImageFile(const char* path, Image* image, bool infoOnly)
{
    std::vector<unsigned char> bytes;
    if (!path || !ReadWholeFile(path, &bytes) || bytes.empty() ||
        bytes.size() > size_t(0x7FFFFFFF))
        return D3DXERR_INVALIDDATA;
    const D3DXIMAGE_FILEFORMAT fileFormat = FileFormatOf(bytes);
    if (fileFormat == D3DXIFF_DDS)  // stb_image reads no DDS
        return D3DXERR_INVALIDDATA;
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), int(bytes.size()), &w, &h, &channels) || w <= 0 ||
        h <= 0)
        return D3DXERR_INVALIDDATA;
    if (w > kMaxEdge || h > kMaxEdge || (unsigned long long)w * (unsigned long long)h > kMaxPixels)
        return E_OUTOFMEMORY;
    image->info = D3DXIMAGE_INFO{UINT(w), UINT(h), 1, 1, FormatOfChannels(channels),
                                 D3DRTYPE_TEXTURE, fileFormat};
    if (infoOnly)
        return D3D_OK;
    Reader reader{&bytes};
    unsigned char* rgba = stbi_load_from_callbacks(&kCallbacks, &reader, &w, &h, &channels, 4);
    if (!rgba)
        return D3DXERR_INVALIDDATA;
    if (reader.pastEnd || w != int(image->info.Width) || h != int(image->info.Height)) {
        stbi_image_free(rgba);
        return D3DXERR_INVALIDDATA;
    }
    try {
        image->argb.resize(size_t(w) * size_t(h));
    } catch (const std::bad_alloc&) {
        stbi_image_free(rgba);
        return E_OUTOFMEMORY;
    }
    for (size_t i = 0; i < image->argb.size(); ++i) {
        const unsigned char* p = rgba + 4 * i;
        image->argb[i] = (DWORD(p[3]) << 24) | (DWORD(p[0]) << 16) | (DWORD(p[1]) << 8) | p[2];
    }
    stbi_image_free(rgba);
    return D3D_OK;
}

}  // namespace vexa::platform::d3dx9
