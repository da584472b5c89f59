// Image files: BMP, JPG, TGA and PNG through the decoder of image_decoder.cpp. The file
// format is told by its signature (TGA has none and is what remains), the D3D format by
// its channels, as D3DX reports them in D3DXIMAGE_INFO. A truncated or corrupt file is
// refused as invalid data.
#include "image_file.h"

#include "image_decoder.h"

#include <vexa/platform.h>

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
    if (!DecodeImageInfo(bytes, &w, &h, &channels) || w <= 0 || h <= 0)
        return D3DXERR_INVALIDDATA;
    if (w > kMaxEdge || h > kMaxEdge || (unsigned long long)w * (unsigned long long)h > kMaxPixels)
        return E_OUTOFMEMORY;
    image->info = D3DXIMAGE_INFO{UINT(w), UINT(h), 1, 1, FormatOfChannels(channels),
                                 D3DRTYPE_TEXTURE, fileFormat};
    if (infoOnly)
        return D3D_OK;
    std::vector<unsigned char> rgba;
    if (!DecodeImage(bytes, w, h, &rgba))
        return D3DXERR_INVALIDDATA;
    try {
        image->argb.resize(size_t(w) * size_t(h));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    for (size_t i = 0; i < image->argb.size(); ++i) {
        const unsigned char* p = rgba.data() + 4 * i;
        image->argb[i] = (DWORD(p[3]) << 24) | (DWORD(p[0]) << 16) | (DWORD(p[1]) << 8) | p[2];
    }
    return D3D_OK;
}

}  // namespace vexa::platform::d3dx9
