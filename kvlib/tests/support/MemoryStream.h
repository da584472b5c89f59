// MemoryStream: a kvStream whose medium is a byte vector, so tests and the fuzz target can
// hand a stream exact bytes and read back exactly what it wrote.
#ifndef KVLIB_TESTS_MEMORYSTREAM_H
#define KVLIB_TESTS_MEMORYSTREAM_H

#include <kvStream.h>

#include <algorithm>
#include <cstring>
#include <vector>

class MemoryStream : public kvStream {
public:
    MemoryStream(const char* streamName, bool blockMode, bool save, bool load,
                 std::vector<BYTE> initial = {})
        : kvStream(streamName, blockMode, save, load), medium(std::move(initial))
    {
    }

    // Loads the block file from the medium, as a file stream does when it opens.
    void Load() { GetResBlock(); }

    std::vector<BYTE> medium;
    long position = 0;
    int flushes = 0;

protected:
    void sysSetPos(int origin, int offset) override
    {
        long base = origin == 1 ? position : origin == 2 ? long(medium.size()) : 0;
        position = std::max(0L, base + offset);
    }
    int sysGetPos() override { return int(position); }
    void sysRead(void* buffer, DWORD length) override
    {
        // Short reads leave zeros, never stale bytes.
        std::memset(buffer, 0, length);
        if (size_t(position) < medium.size()) {
            size_t n = std::min<size_t>(length, medium.size() - size_t(position));
            std::memcpy(buffer, medium.data() + position, n);
        }
        position += long(length);
    }
    void sysWrite(const void* buffer, DWORD length) override
    {
        if (medium.size() < size_t(position) + length)
            medium.resize(size_t(position) + length);
        std::memcpy(medium.data() + position, buffer, length);
        position += long(length);
    }
    void sysFlush() override { ++flushes; }
};

#endif
