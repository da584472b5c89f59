// The picture decoder: the system's stb_image header compiled here, not its shared build.
//
// The shared build keeps stb_image's assertions, and a corrupt JPEG can fail one, which
// aborts the process. Compiled here, a failed assertion abandons the decode instead: it
// jumps back to the caller, and every block the decoder had allocated (all of them go
// through a list kept here) is freed, so a refusal leaks nothing. Compiled here, the
// decoder also carries the sanitizers and fuzzing instrumentation of the rest of the
// platform. Only the formats D3DX reads are compiled in: JPEG, PNG, BMP, TGA, PPM and HDR.
//
// Bytes reach the decoder through reading callbacks that note a request past the end:
// stb_image decodes a truncated BMP, TGA or JPEG as if the missing bytes were zeros and
// reports success, so such a request makes the picture truncated, and refused.
//
// This version of stb_image does not check that a JPEG's Huffman table holds at most 256
// codes, and writes past the table when one holds more (the code counts of a table add
// up to as many as 4080); and a scan that uses a table no segment defined makes it read
// past the table's limits. JpegTablesUsable refuses such a file before the decoder sees it.
//
// Not reentrant: the platform decodes on the one thread that draws.
#include "image_decoder.h"

#include <setjmp.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <new>

namespace {

// Every live block of the decode in progress, in a doubly linked list before the block.
struct alignas(16) Block {
    Block* prev;
    Block* next;
};

Block blocks = {&blocks, &blocks};
jmp_buf* escape = nullptr;  // where a failed assertion returns to, during a decode

void Link(Block* b)
{
    b->next = blocks.next;
    b->prev = &blocks;
    blocks.next->prev = b;
    blocks.next = b;
}

void Unlink(Block* b)
{
    b->prev->next = b->next;
    b->next->prev = b->prev;
}

void* DecoderMalloc(size_t size)
{
    Block* b = static_cast<Block*>(malloc(sizeof(Block) + size));
    if (!b)
        return nullptr;
    Link(b);
    return b + 1;
}

void DecoderFree(void* p)
{
    if (!p)
        return;
    Block* b = static_cast<Block*>(p) - 1;
    Unlink(b);
    free(b);
}

void* DecoderRealloc(void* p, size_t size)
{
    if (!p)
        return DecoderMalloc(size);
    Block* b = static_cast<Block*>(p) - 1;
    Unlink(b);
    Block* grown = static_cast<Block*>(realloc(b, sizeof(Block) + size));
    if (!grown) {
        Link(b);  // realloc failed: the old block is still the decoder's
        return nullptr;
    }
    Link(grown);
    return grown + 1;
}

void FreeAllBlocks()
{
    while (blocks.next != &blocks) {
        Block* b = blocks.next;
        Unlink(b);
        free(b);
    }
}

[[noreturn]] void AbandonDecode()
{
    longjmp(*escape, 1);
}

}  // namespace

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_PNM
#define STBI_ONLY_HDR
#define STBI_MALLOC(size) DecoderMalloc(size)
#define STBI_REALLOC(p, size) DecoderRealloc(p, size)
#define STBI_FREE(p) DecoderFree(p)
#define STBI_ASSERT(x) ((x) ? (void)0 : AbandonDecode())
#include <stb_image.h>

namespace vexa::platform::d3dx9 {

namespace {

// The file's bytes as the decoder reads them.
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
        memcpy(data, r->bytes->data() + r->at, n);
        r->at += n;
        return int(n);
    }
    // The decoder skips forward only. Skipping past the end is not yet a fault: a BMP may
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

// False when a JPEG defines a Huffman table of more than 256 codes, or when a scan uses a
// table not defined before it. Walks the segments the way the decoder does: a marker
// segment by its length, everything else (the coded data of a scan, fill bytes) byte by
// byte up to the next marker, so that every table the decoder would build or use is
// seen. Anything else wrong is left for the decoder to refuse.
bool JpegTablesUsable(const std::vector<unsigned char>& b)
{
    // The decoder takes any number of fill bytes 0xFF before the start marker 0xD8.
    size_t at = 0;
    while (at < b.size() && b[at] == 0xFF)
        ++at;
    if (at == 0 || at >= b.size() || b[at] != 0xD8)
        return true;
    ++at;
    bool defined[2][4] = {};  // [DC, AC][table id]
    bool progressive = false;
    while (at + 4 <= b.size()) {
        const unsigned char marker = b[at + 1];
        if (b[at] != 0xFF || marker == 0xFF) {
            ++at;
            continue;
        }
        // A stuffed zero, a restart marker or TEM stands alone.
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9)
            return true;
        const size_t end = at + 2 + ((size_t(b[at + 2]) << 8) | b[at + 3]);
        if (marker == 0xC2)
            progressive = true;
        if (marker == 0xC4) {
            // As the decoder reads them: table after table while the segment has room,
            // and zeros once the file ends.
            for (size_t p = at + 4; p < end && p < b.size();) {
                size_t codes = 0;
                for (size_t i = p + 1; i <= p + 16 && i < b.size(); ++i)
                    codes += b[i];
                if (codes > 256)
                    return false;
                if ((b[p] >> 4) <= 1 && (b[p] & 15) <= 3)
                    defined[b[p] >> 4][b[p] & 15] = true;
                p += 17 + codes;
            }
        }
        if (marker == 0xDA) {
            // Components (id, DC table << 4 | AC table), then the spectral start and the
            // approximation: a progressive DC scan uses DC tables (its refinement none), a
            // progressive AC scan AC tables, a sequential scan both. Past the end of the
            // file the decoder reads zeros.
            auto byte = [&b](size_t i) { return i < b.size() ? b[i] : 0; };
            const size_t count = byte(at + 4), after = at + 5 + 2 * count;
            const bool dcScan = byte(after) == 0, firstPass = (byte(after + 2) >> 4) == 0;
            for (size_t i = 0; i < count; ++i) {
                const int dc = byte(at + 6 + 2 * i) >> 4, ac = byte(at + 6 + 2 * i) & 15;
                if (dc > 3 || ac > 3)
                    continue;
                const bool usesDc = !progressive || (dcScan && firstPass);
                const bool usesAc = !progressive || !dcScan;
                if ((usesDc && !defined[0][dc]) || (usesAc && !defined[1][ac]))
                    return false;
            }
        }
        at = std::max(end, at + 4);
    }
    return true;
}

}  // namespace

bool DecodeImageInfo(const std::vector<unsigned char>& bytes, int* width, int* height,
                     int* channels)
{
    if (bytes.empty() || bytes.size() > size_t(0x7FFFFFFF) || !JpegTablesUsable(bytes))
        return false;
    jmp_buf here;
    escape = &here;
    volatile bool ok = false;  // volatile: read again after a jump back
    if (setjmp(here) == 0)
        ok = stbi_info_from_memory(bytes.data(), int(bytes.size()), width, height, channels) != 0;
    escape = nullptr;
    FreeAllBlocks();
    return ok;
}

bool DecodeImage(const std::vector<unsigned char>& bytes, int width, int height,
                 std::vector<unsigned char>* rgba)
{
    if (!JpegTablesUsable(bytes))
        return false;
    Reader reader{&bytes};
    jmp_buf here;
    escape = &here;
    volatile bool ok = false;  // volatile: read again after a jump back
    if (setjmp(here) == 0) {
        int w = 0, h = 0, channels = 0;
        unsigned char* pixels = stbi_load_from_callbacks(&kCallbacks, &reader, &w, &h, &channels, 4);
        escape = nullptr;
        if (pixels && !reader.pastEnd && w == width && h == height) {
            try {
                rgba->assign(pixels, pixels + size_t(w) * size_t(h) * 4);
                ok = true;
            } catch (const std::bad_alloc&) {
            }
        }
    }
    escape = nullptr;
    FreeAllBlocks();  // the pixels too: they were copied
    return ok;
}

}  // namespace vexa::platform::d3dx9
