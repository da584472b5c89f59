// The block file: written by kvStream::Flush, read by kvStream::GetResBlock. All words
// are little-endian; the file always starts at absolute position 0 of the medium.
//
// Reading trusts nothing in the file: the directory must fit the medium, hold at most
// 1024 entries, and every payload must lie inside the medium. The new table is built
// aside and replaces the blocks in memory only when the whole file has been read, so a
// refused file leaves the stream as it was.
#include "kvStream.h"

#include "kvException.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void PutWord(BYTE* out, DWORD v)
{
    out[0] = BYTE(v);
    out[1] = BYTE(v >> 8);
    out[2] = BYTE(v >> 16);
    out[3] = BYTE(v >> 24);
}

DWORD GetWord(const BYTE* in)
{
    return DWORD(in[0]) | DWORD(in[1]) << 8 | DWORD(in[2]) << 16 | DWORD(in[3]) << 24;
}

struct FreeDeleter {
    void operator()(BYTE* p) const { std::free(p); }
};

}  // namespace

void kvStream::WriteBlockFile()
{
    sysSetPos(0, 0);
    BYTE word[4];
    PutWord(word, blockCount);
    sysWrite(word, 4);
    DWORD running = 12 * blockCount + 4;
    for (DWORD i = 0; i < blockCount; ++i) {
        kvStreamBlock& b = blocks[i];
        b.offset = running;
        BYTE entry[12];
        PutWord(entry, b.id);
        PutWord(entry + 4, b.offset);
        PutWord(entry + 8, b.size);
        sysWrite(entry, 12);
        running += b.size;
    }
    for (DWORD i = 0; i < blockCount; ++i)
        sysWrite(blocks[i].data, blocks[i].size);
    sysFlush();
}

void kvStream::GetResBlock()
{
    if (!bBlockMode || !bLoadBlocks)
        return;
    sysSetPos(2, 0);
    const int64_t mediumSize = sysGetPos();
    sysSetPos(0, 0);
    if (mediumSize < 4)
        NewException("Block file is truncated.", KVEXCEPTION_DATAFILE);

    BYTE word[4];
    sysRead(word, 4);
    const DWORD count = GetWord(word);
    if (count > KVSTREAM_MAXBLOCKS)
        NewException("Block file lists more than 1024 blocks.", KVEXCEPTION_DATAFILE);
    if (4 + 12 * int64_t(count) > mediumSize)
        NewException("Block file is truncated.", KVEXCEPTION_DATAFILE);

    std::vector<kvStreamBlock> table(count);
    std::vector<BYTE> directory(size_t(12) * count);
    if (count)
        sysRead(directory.data(), DWORD(directory.size()));
    for (DWORD i = 0; i < count; ++i) {
        const BYTE* e = &directory[size_t(12) * i];
        table[i] = kvStreamBlock{GetWord(e), GetWord(e + 4), GetWord(e + 8), 0, 0, nullptr};
        if (int64_t(table[i].offset) + table[i].size > mediumSize)
            NewException("Block file entry lies outside the file.", KVEXCEPTION_DATAFILE);
        if (table[i].size > DWORD(INT32_MAX - KVSTREAM_BLOCKSTEP))
            NewException("Stream block too large.", KVEXCEPTION_DATAFILE);
    }

    std::vector<std::unique_ptr<BYTE, FreeDeleter>> payloads(count);
    for (DWORD i = 0; i < count; ++i) {
        kvStreamBlock& b = table[i];
        BYTE* data = static_cast<BYTE*>(std::calloc(b.size ? b.size : 1, 1));
        if (!data)
            NewException("Out of memory for a stream block.", KVEXCEPTION_GENERAL);
        payloads[i].reset(data);
        sysSetPos(0, int(b.offset));
        if (b.size)
            sysRead(data, b.size);
        b.capacity = b.size;
        b.pos = 0;
    }

    FreeBlocks();
    for (DWORD i = 0; i < count; ++i) {
        blocks[i] = table[i];
        blocks[i].data = payloads[i].release();
    }
    blockCount = count;
    curBlock = count ? &blocks[0] : nullptr;
}
