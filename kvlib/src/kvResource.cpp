// The resource registry: a circular singly linked list with a sentinel node; new entries
// go to the front. Invariant: between CreateRegistry and DestroyRegistry the sentinel
// exists and the list returns to it; the registry owns its nodes, never the resources.
#include "kvResource.h"

#include "kvSystem.h"

namespace {
struct RegistryNode {
    kvResource* resource;
    RegistryNode* next;
};

RegistryNode* sentinel = nullptr;

template <typename Visit>
void ForEachResource(Visit visit)
{
    if (!sentinel)
        return;
    for (RegistryNode* n = sentinel->next; n != sentinel; n = n->next)
        visit(n->resource);
}
}  // namespace

kvResource::~kvResource() = default;
void kvResource::Load() {}
void kvResource::Release() {}
void* kvResource::GetPtr()
{
    return nullptr;
}

void kvrReg(kvResource* resource)
{
    // A program that registers before InitKV still gets its list.
    if (!sentinel)
        kvlib::CreateRegistry();
    sentinel->next = new RegistryNode{resource, sentinel->next};
}

void kvResourceLoad()
{
    kvPath[0] = 0;
    ForEachResource([](kvResource* r) { r->Load(); });
}

void kvResourceRelease()
{
    ForEachResource([](kvResource* r) { r->Release(); });
}

namespace kvlib {
void CreateRegistry()
{
    if (sentinel)
        return;
    sentinel = new RegistryNode{nullptr, nullptr};
    sentinel->next = sentinel;
}

void DestroyRegistry()
{
    if (!sentinel)
        return;
    RegistryNode* n = sentinel->next;
    while (n != sentinel) {
        RegistryNode* next = n->next;
        delete n;
        n = next;
    }
    delete sentinel;
    sentinel = nullptr;
}

int RegistryCount()
{
    int count = 0;
    ForEachResource([&count](kvResource*) { ++count; });
    return count;
}
}  // namespace kvlib
