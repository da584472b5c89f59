// HostPath: the one place where a narrow path of the engine becomes the file system's.
//
// The convention: inside the system a narrow path is code page 936 (GBK), as an ANSI
// path is on Windows, and may use either separator; the file system's names are UTF-8
// with "/". Every file the system opens goes through HostPath: kvFileStream, the image
// loaders of D3DX (and their BMP writer), the tile list and its descriptions, and the
// mesh and sound loaders, so a tile stored as 水果_苹果.png on disk is "水果_苹果.png" in
// GBK inside the program.
//
// The text is decoded before the separators are turned: a GBK trail byte may be 0x5C,
// the byte of "\" (乗 is 0x81 0x5C), and must not become a "/" in the middle of a name.
#include "code_page.h"

#include <vexa/platform.h>

namespace vexa::platform {

std::string HostPath(const char* enginePath)
{
    std::string path = AnsiToUtf8(enginePath ? enginePath : "");
    // In UTF-8 the byte 0x5C is always the character "\" itself.
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

}  // namespace vexa::platform
