// kvStream: the engine's one I/O abstraction, in two modes chosen at construction.
//
// Raw mode: Read, Write and SetPos go straight to the five sys operations, which a
// subclass implements on a real medium. Block mode: up to 1024 numbered in-memory blocks,
// each a growable buffer with its own position, read from the medium at once by
// GetResBlock and written back as one block file by Flush:
//
//   offset 0        N, the number of blocks (4 bytes, little-endian)
//   offset 4        N directory entries: id, offset, size (4 bytes each)
//   offset 4 + 12N  the payloads, back to back, in directory order
//
// Block 0xF0000001 holds the stream's identity string, 0xF0000002 eight stamp bytes.
// Invariant: every access stays inside a block's buffer; a request that would not (a read
// past the end of a block, a string too long for its buffer, a block file that lies about
// its own layout) is refused with an engine exception and changes nothing.
#ifndef KVLIB_KVSTREAM_H
#define KVLIB_KVSTREAM_H

#include <windows.h>

#define KVSTREAM_MAXBLOCKS 1024
#define KVSTREAM_BLOCKSTEP 16384
#define KVSTREAM_IDENTITY_BLOCK 0xF0000001u
#define KVSTREAM_STAMP_BLOCK 0xF0000002u
// SetPos origin that seeks the medium itself to an absolute position, in block mode.
#define KVSTREAM_RAWSEEK ((int)0xABABABAB)

struct kvStreamBlock {
    DWORD id;
    DWORD offset;    // payload position in the file, filled when written or read
    DWORD size;      // bytes of valid data
    DWORD capacity;  // bytes allocated
    LONG pos;        // read/write position inside the block
    BYTE* data;      // owned by the stream
};

class kvStream {
public:
    kvStream(const char* name, bool blockMode, bool saveBlocks, bool loadBlocks);
    virtual ~kvStream();
    kvStream(const kvStream&) = delete;
    kvStream& operator=(const kvStream&) = delete;

    void AddBlock(DWORD id);
    bool SetBlock(DWORD id);
    void Read(void* buffer, DWORD length);
    void Write(const void* buffer, DWORD length);
    void SetPos(int origin, int offset);
    int GetPos();
    // Reads one length-prefixed string into a buffer of 256 bytes (255 characters and the
    // terminator); a longer stored string is refused.
    void LoadStringA(char* buffer);
    // The same into a buffer of bufferSize bytes.
    void LoadStringA(char* buffer, DWORD bufferSize);
    void SaveString(const char* text);
    void Flush();
    void Authenticate();

    const char* GetName() const { return name; }
    bool IsBlockMode() const { return bBlockMode; }
    DWORD GetBlockCount() const { return blockCount; }
    const kvStreamBlock* GetBlockEntry(DWORD index) const;
    const kvStreamBlock* GetCurrentBlock() const { return curBlock; }

protected:
    virtual void sysSetPos(int origin, int offset);
    virtual int sysGetPos();
    virtual void sysRead(void* buffer, DWORD length);
    virtual void sysWrite(const void* buffer, DWORD length);
    virtual void sysFlush();

    // Replaces the blocks in memory with the block file on the medium.
    void GetResBlock();

    LONG basePos;
    char name[256];
    DWORD blockCount;
    BYTE stamp[8];
    kvStreamBlock blocks[KVSTREAM_MAXBLOCKS];
    kvStreamBlock* curBlock;
    bool bSaveBlocks;
    bool bLoadBlocks;
    bool bBlockMode;

private:
    kvStreamBlock& SelectedBlock();
    void WriteBlockFile();
    void FreeBlocks();
};

#endif
