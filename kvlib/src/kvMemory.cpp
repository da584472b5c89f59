// The allocation tracker: a static table searched linearly, logged to the memory slot.
#include "kvMemory.h"

#include "kvTrace.h"

#include <malloc.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

kvlib::MemoryEntry table[kvlib::kMemoryEntryCount];

// Addresses print with at least eight hex digits, and all of a 64-bit address.
void TraceEntry(const kvlib::MemoryEntry& e)
{
    kvlib::memTrace("%.8" PRIxPTR " %.10d   (%s)", reinterpret_cast<uintptr_t>(e.ptr), e.size,
                    e.text);
}

void Record(void* p, int32_t size, DWORD line, const char* file)
{
    for (kvlib::MemoryEntry& e : table) {
        if (e.size != 0)
            continue;
        e.ptr = p;
        e.size = size;
        std::snprintf(e.text, sizeof e.text, "%.4d %s", int(line), file ? file : "");
        TraceEntry(e);
        return;
    }
    Trace("***Memory Trace Entries overflow!!!***");
}

void Remove(void* p)
{
    // Only live records are matched: a freed entry keeps no address.
    for (kvlib::MemoryEntry& e : table) {
        if (e.size != 0 && e.ptr == p) {
            e.size = 0;
            e.ptr = nullptr;
            return;
        }
    }
}

}  // namespace

void* KVMEMmalloc(unsigned size, DWORD line, const char* file)
{
    void* p = std::malloc(size);
    if (p)
        Record(p, int32_t(size), line, file);
    return p;
}

void* KVMEMnew(void* p, DWORD line, const char* file, bool isArray)
{
    if (p)
        Record(p, isArray ? -1 : int32_t(malloc_usable_size(p)), line, file);
    return p;
}

void KVMEMdelete(void* p)
{
    Remove(p);
}

void KVMEMdeletearr(void* p)
{
    Remove(p);
}

void KVMEMfree(void* p)
{
    Remove(p);
    std::free(p);
}

void DumpMemoryEntry()
{
    kvlib::memTrace("********** Dumping Current Memory Info**********");
    for (const kvlib::MemoryEntry& e : table)
        if (e.size != 0)
            TraceEntry(e);
    kvlib::memTrace("******************** Finish ********************");
    kvlib::memTrace(" ");
}

const kvlib::MemoryEntry* kvlib::FindMemoryEntry(const void* p)
{
    int i = MemoryEntryIndex(p);
    return i >= 0 ? &table[i] : nullptr;
}

int kvlib::MemoryEntryIndex(const void* p)
{
    for (int i = 0; i < kMemoryEntryCount; ++i)
        if (table[i].size != 0 && table[i].ptr == p)
            return i;
    return -1;
}
