// kvStream: block table, positions, strings and the raw-mode pass-through. The block
// file itself is read and written in kvBlockFile.cpp.
#include "kvStream.h"

#include "kvException.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

BYTE* AllocateZeroed(DWORD bytes)
{
    // A zero-byte block still gets a buffer, so data is never null for a live entry.
    void* p = std::calloc(bytes ? bytes : 1, 1);
    if (!p)
        NewException("Out of memory for a stream block.", KVEXCEPTION_GENERAL);
    return static_cast<BYTE*>(p);
}

}  // namespace

kvStream::kvStream(const char* streamName, bool blockMode, bool saveBlocks, bool loadBlocks)
    : basePos(0), name{}, blockCount(0), stamp{}, blocks{}, curBlock(nullptr),
      bSaveBlocks(saveBlocks), bLoadBlocks(loadBlocks), bBlockMode(blockMode)
{
    std::strncpy(name, streamName ? streamName : "", sizeof name - 1);
    if (bBlockMode) {
        AddBlock(KVSTREAM_IDENTITY_BLOCK);
        SaveString(name);
        AddBlock(KVSTREAM_STAMP_BLOCK);
        Write(stamp, sizeof stamp);
    }
}

kvStream::~kvStream()
{
    FreeBlocks();
}

void kvStream::FreeBlocks()
{
    for (DWORD i = 0; i < blockCount; ++i) {
        std::free(blocks[i].data);
        blocks[i].data = nullptr;
    }
    blockCount = 0;
    curBlock = nullptr;
}

const kvStreamBlock* kvStream::GetBlockEntry(DWORD index) const
{
    return index < blockCount ? &blocks[index] : nullptr;
}

kvStreamBlock& kvStream::SelectedBlock()
{
    if (!curBlock)
        NewException("No stream block is selected.", KVEXCEPTION_GENERAL);
    return *curBlock;
}

void kvStream::AddBlock(DWORD id)
{
    if (!bBlockMode || blockCount >= KVSTREAM_MAXBLOCKS)
        return;
    for (DWORD i = 0; i < blockCount; ++i) {
        if (blocks[i].id == id) {
            curBlock = &blocks[i];
            return;
        }
    }
    kvStreamBlock& b = blocks[blockCount];
    b.data = AllocateZeroed(KVSTREAM_BLOCKSTEP);
    b.id = id;
    b.offset = 0;
    b.size = 0;
    b.capacity = KVSTREAM_BLOCKSTEP;
    b.pos = 0;
    ++blockCount;
    curBlock = &b;
}

bool kvStream::SetBlock(DWORD id)
{
    for (DWORD i = 0; i < blockCount; ++i) {
        if (blocks[i].id == id) {
            curBlock = &blocks[i];
            return true;
        }
    }
    return false;
}

void kvStream::Read(void* buffer, DWORD length)
{
    if (!bBlockMode) {
        sysRead(buffer, length);
        return;
    }
    kvStreamBlock& b = SelectedBlock();
    if (b.pos < 0 || int64_t(b.pos) + length > int64_t(b.size))
        NewException("Read past the end of a stream block.", KVEXCEPTION_GENERAL);
    if (length)
        std::memcpy(buffer, b.data + b.pos, length);
    b.pos += LONG(length);
}

void kvStream::Write(const void* buffer, DWORD length)
{
    if (!bBlockMode) {
        sysWrite(buffer, length);
        return;
    }
    kvStreamBlock& b = SelectedBlock();
    if (b.pos < 0)
        NewException("Stream position is outside the block.", KVEXCEPTION_GENERAL);
    const int64_t end = int64_t(b.pos) + length;
    if (end > INT32_MAX - KVSTREAM_BLOCKSTEP)
        NewException("Stream block too large.", KVEXCEPTION_GENERAL);
    if (end >= int64_t(b.capacity)) {
        // Capacities stay multiples of the step and grow by at least one step.
        DWORD byEnd = DWORD((end / KVSTREAM_BLOCKSTEP + 1) * KVSTREAM_BLOCKSTEP);
        DWORD byStep = (b.capacity / KVSTREAM_BLOCKSTEP + 1) * KVSTREAM_BLOCKSTEP;
        DWORD capacity = byEnd > byStep ? byEnd : byStep;
        BYTE* grown = AllocateZeroed(capacity);
        std::memcpy(grown, b.data, b.size);
        std::free(b.data);
        b.data = grown;
        b.capacity = capacity;
    } else if (DWORD(b.pos) > b.size) {
        // A write beyond the end leaves a gap of zeros, never stale bytes.
        std::memset(b.data + b.size, 0, DWORD(b.pos) - b.size);
    }
    if (length)
        std::memcpy(b.data + b.pos, buffer, length);
    b.pos = LONG(end);
    b.size = DWORD(end);
}

void kvStream::SetPos(int origin, int offset)
{
    if (!bBlockMode) {
        if (origin == 0)
            sysSetPos(0, basePos + offset);
        else
            sysSetPos(origin, offset);
        return;
    }
    if (origin == KVSTREAM_RAWSEEK) {
        sysSetPos(0, offset);
        return;
    }
    if (!curBlock || origin < 0 || origin > 2)
        return;
    // Positions outside the block are kept; Read and Write refuse to use them.
    switch (origin) {
    case 0: curBlock->pos = offset; break;
    case 1: curBlock->pos = LONG(int64_t(curBlock->pos) + offset); break;
    case 2: curBlock->pos = LONG(int64_t(curBlock->size) - offset); break;
    }
}

int kvStream::GetPos()
{
    if (bBlockMode)
        return curBlock ? curBlock->pos : -1;
    int p = sysGetPos();
    return p > basePos ? p - basePos : -1;
}

void kvStream::LoadStringA(char* buffer)
{
    LoadStringA(buffer, 256);
}

void kvStream::LoadStringA(char* buffer, DWORD bufferSize)
{
    DWORD n = 0;
    Read(&n, sizeof n);
    if (bufferSize == 0 || n > bufferSize - 1)
        NewException("Stored string is too long for its buffer.", KVEXCEPTION_GENERAL);
    Read(buffer, n);
    buffer[n] = 0;
}

void kvStream::SaveString(const char* text)
{
    DWORD n = DWORD(std::strlen(text));
    Write(&n, sizeof n);
    Write(text, n);
}

void kvStream::Flush()
{
    if (bBlockMode && bSaveBlocks)
        WriteBlockFile();
    sysFlush();
}

void kvStream::Authenticate()
{
    if (!SetBlock(KVSTREAM_IDENTITY_BLOCK))
        return;
    SetPos(0, 0);
    if (bSaveBlocks) {
        SaveString(name);
        return;
    }
    // Byte for byte, length included: a stored "abc\0x" is not the identity "abc".
    DWORD n = 0;
    Read(&n, sizeof n);
    char stored[256];
    if (n != std::strlen(name))
        NewException("File authentication failed.", KVEXCEPTION_DATAFILE);
    Read(stored, n);
    if (std::memcmp(stored, name, n) != 0)
        NewException("File authentication failed.", KVEXCEPTION_DATAFILE);
}

void kvStream::sysSetPos(int, int) {}
int kvStream::sysGetPos() { return 0; }
void kvStream::sysRead(void*, DWORD) {}
void kvStream::sysWrite(const void*, DWORD) {}
void kvStream::sysFlush() {}
