// WStringList: slot operations and the stored record. Strings are copied onto the heap
// on the way in and freed on the way out; slots past count are always null.
#include "WStringList.h"

#include "viewRecord.h"

#include <kvException.h>
#include <kvStream.h>

#include <algorithm>
#include <cstring>

namespace {
char* CopyOf(const char* text)
{
    const size_t n = text ? std::strlen(text) : 0;
    char* copy = new char[n + 1];
    if (n)
        std::memcpy(copy, text, n);
    copy[n] = '\0';
    return copy;
}
}  // namespace

WStringList::WStringList(int capacityWanted, int rowsShown)
    : capacity(std::clamp(capacityWanted, 0, WSL_MAX_STRINGS)),
      rows(rowsShown),
      count(0),
      modified(1),
      strings{}
{
}

WStringList::~WStringList()
{
    for (char*& s : strings) {
        delete[] s;
        s = nullptr;
    }
}

void WStringList::AddString(int index, const char* text)
{
    if (index == WSL_APPEND || index > count)
        index = count;
    if (index < 0)
        return;
    if (index < capacity) {
        if (strings[capacity - 1])
            DeleteString(capacity - 1);
        for (int i = count; i > index; --i)
            strings[i] = strings[i - 1];
        strings[index] = CopyOf(text);
        ++count;
        modified = 1;
    } else if (index == capacity && capacity > 0) {
        // Full and appending: the list scrolls by one.
        delete[] strings[0];
        std::memmove(strings, strings + 1, sizeof(char*) * size_t(capacity - 1));
        strings[capacity - 1] = CopyOf(text);
        modified = 1;
    }
}

void WStringList::UpdateString(int index, const char* text)
{
    // Only a filled slot can change: a string past count would break the slot invariant.
    if (index < 0 || index >= count)
        return;
    delete[] strings[index];
    strings[index] = CopyOf(text);
    modified = 1;
}

void WStringList::DeleteString(int index)
{
    if (index < 0 || index >= count || !strings[index])
        return;
    delete[] strings[index];
    for (int i = index; i + 1 < count; ++i)
        strings[i] = strings[i + 1];
    --count;
    strings[count] = nullptr;
    modified = 1;
}

void WStringList::DeleteContent(const char* text)
{
    DeleteString(FindString(text));
}

int WStringList::FindString(const char* text) const
{
    if (!text)
        return -1;
    for (int i = 0; i < count; ++i)
        if (strings[i] && std::strcmp(strings[i], text) == 0)
            return i;
    return -1;
}

void WStringList::ClearAll()
{
    for (char*& s : strings) {
        delete[] s;
        s = nullptr;
    }
    count = 0;
    modified = 1;
}

void WStringList::Save(kvStream* stream)
{
    zeb::WriteWord(stream, uint32_t(capacity));
    zeb::WriteWord(stream, uint32_t(rows));
    zeb::WriteWord(stream, uint32_t(count));
    for (int i = 0; i < count; ++i)
        stream->SaveString(strings[i] ? strings[i] : "");
}

void WStringList::Load(kvStream* stream)
{
    const int32_t storedCapacity = zeb::ReadWord(stream);
    const int32_t storedRows = zeb::ReadWord(stream);
    const int32_t storedCount = zeb::ReadWord(stream);
    if (storedCapacity < 1 || storedCapacity > WSL_MAX_STRINGS)
        NewException("String list capacity is not 1 to 1024.", KVEXCEPTION_GENERAL);
    if (storedRows < 0 || storedRows > WSL_MAX_STRINGS)
        NewException("String list row count is out of range.", KVEXCEPTION_GENERAL);
    if (storedCount < 0 || storedCount > storedCapacity)
        NewException("String list count is outside its capacity.", KVEXCEPTION_GENERAL);
    ClearAll();
    capacity = storedCapacity;
    rows = storedRows;
    char text[256];
    for (int i = 0; i < storedCount; ++i) {
        stream->LoadStringA(text);
        AddString(WSL_APPEND, text);
    }
}
