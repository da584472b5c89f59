// Internal: the picture decoder behind the image files, stb_image compiled into the
// platform so that a corrupt file is refused instead of ending the process.
#ifndef VEXA_PLATFORM_D3DX9_IMAGE_DECODER_H
#define VEXA_PLATFORM_D3DX9_IMAGE_DECODER_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace vexa::platform::d3dx9 {

// Reads the size and channel count from the header. False for a file no decoder takes.
bool DecodeImageInfo(const std::vector<unsigned char>& bytes, int* width, int* height,
                     int* channels);

// Decodes to R8G8B8A8 bytes, top row first. False for a corrupt or truncated file (one
// that asks for more bytes than it holds) and for one whose size differs from its header.
bool DecodeImage(const std::vector<unsigned char>& bytes, int width, int height,
                 std::vector<unsigned char>* rgba);

}  // namespace vexa::platform::d3dx9

#endif
