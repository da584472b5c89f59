// WStringList: an owned list of heap-copied strings with a fixed capacity, the model
// behind a list box. Its record (capacity, rows, count, then the strings) is embedded in
// the records of list boxes and combo boxes.
#ifndef ZEB_WSTRINGLIST_H
#define ZEB_WSTRINGLIST_H

#include <windows.h>

class kvStream;

// Slots a list can ever hold.
#define WSL_MAX_STRINGS 1024
// Index that asks AddString to append.
#define WSL_APPEND 0xFFFF

// Invariant: slots 0 to count - 1 hold strings and every later slot is null;
// 0 <= count <= capacity <= WSL_MAX_STRINGS.
class WStringList {
public:
    int32_t capacity;  // most strings the list keeps
    int32_t rows;      // rows a list box shows
    int32_t count;     // strings stored
    BYTE modified;     // set by every change; the owning list box clears it
    char* strings[WSL_MAX_STRINGS];

    // A capacity outside 0 to WSL_MAX_STRINGS is cut into that range.
    WStringList(int capacity, int rows);

    // Replaces the contents with the stored record; refuses a capacity outside 1 to 1024,
    // a negative or too large row count, and a count outside 0 to capacity.
    virtual void Load(kvStream* stream);
    virtual void Save(kvStream* stream);
    // Inserts a copy at index (WSL_APPEND, or an index past the last string, appends). A
    // full list drops its last string to make room; an append to a full list drops the
    // first string instead, so the list scrolls. Other indexes are ignored.
    virtual void AddString(int index, const char* text);
    // Replaces the string in a filled slot; other indexes are ignored.
    virtual void UpdateString(int index, const char* text);
    virtual void DeleteString(int index);
    // Deletes the first string equal to text, byte for byte.
    virtual void DeleteContent(const char* text);
    virtual void ClearAll();
    virtual ~WStringList();

    // Slot of the first string equal to text, -1 when none.
    int FindString(const char* text) const;

    WStringList(const WStringList&) = delete;
    WStringList& operator=(const WStringList&) = delete;
};

#endif
