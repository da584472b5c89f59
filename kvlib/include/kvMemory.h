// The allocation tracker: live allocations recorded in a fixed table of 40960 entries and
// dumped to the memory log. It allocates nothing itself.
#ifndef KVLIB_KVMEMORY_H
#define KVLIB_KVMEMORY_H

#include <windows.h>

void* KVMEMmalloc(unsigned size, DWORD line, const char* file);
void* KVMEMnew(void* p, DWORD line, const char* file, bool isArray);
void KVMEMdelete(void* p);
void KVMEMdeletearr(void* p);
void KVMEMfree(void* p);
void DumpMemoryEntry();

namespace kvlib {

constexpr int kMemoryEntryCount = 40960;

struct MemoryEntry {
    void* ptr;
    int32_t size;  // 0: free entry; -1: an array whose size is not recorded
    char text[128];
};

// The record of p, or null when p is not recorded.
const MemoryEntry* FindMemoryEntry(const void* p);
// Index of the entry holding p's record, or -1.
int MemoryEntryIndex(const void* p);

}  // namespace kvlib

#endif
