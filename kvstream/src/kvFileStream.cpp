// kvFileStream: the five sys operations on a C-library file.
#include "kvFileStream.h"

#include <kvException.h>
#include <kvSystem.h>

#include <vexa/platform.h>

#include <cstring>
#include <string>

namespace {

bool ModeReads(const char* mode) { return std::strchr(mode, 'r') != nullptr; }
bool ModeWrites(const char* mode)
{
    return std::strchr(mode, 'w') || std::strchr(mode, 'a') || std::strchr(mode, '+');
}

bool IsAbsolute(const std::string& path)
{
    return !path.empty() && (path[0] == '/' || path[0] == '\\');
}

// The host's path of an engine file name (code page 936, either separator): a relative
// name is taken below kvPath when the program has set it, then the platform turns the
// narrow path into the file system's.
std::string HostFileName(const char* fileName)
{
    std::string path = fileName ? fileName : "";
    if (!IsAbsolute(path) && kvPath[0])
        path = std::string(kvPath) + path;
    return vexa::platform::HostPath(path.c_str());
}

}  // namespace

kvFileStream::kvFileStream(const char* fileName, const char* mode, bool blockMode,
                           const char* streamName)
    : kvStream(streamName, blockMode, ModeWrites(mode ? mode : ""), ModeReads(mode ? mode : "")),
      file(nullptr)
{
    std::string path = HostFileName(fileName);
    file = std::fopen(path.c_str(), mode ? mode : "rb");
    if (!file)
        NewExceptionf(0, "Failed to open file : %s.", fileName ? fileName : "");
    if (blockMode && bLoadBlocks) {
        try {
            GetResBlock();
            Authenticate();
        } catch (...) {
            std::fclose(file);
            file = nullptr;
            throw;
        }
    }
}

kvFileStream::~kvFileStream()
{
    if (file)
        std::fclose(file);
}

void kvFileStream::sysSetPos(int origin, int offset)
{
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin >= 0 && origin <= 2)
        std::fseek(file, offset, whence[origin]);
}

int kvFileStream::sysGetPos()
{
    long p = std::ftell(file);
    return p < 0 || p > 0x7FFFFFFF ? -1 : int(p);
}

void kvFileStream::sysRead(void* buffer, DWORD length)
{
    size_t got = std::fread(buffer, 1, length, file);
    // Past the end of the file the rest of the buffer reads as zeros, never stale bytes.
    if (got < length)
        std::memset(static_cast<char*>(buffer) + got, 0, length - got);
}

void kvFileStream::sysWrite(const void* buffer, DWORD length)
{
    std::fwrite(buffer, 1, length, file);
}

void kvFileStream::sysFlush()
{
    std::fflush(file);
}
