// CTilePack: reading "list.txt".
//
// The list is a count line followed by one picture line per entry. A list that cannot be
// opened, or is malformed (no count, a count outside 1..256, fewer picture lines than the
// count, an empty or over-long picture line), raises an engine exception of the data-file
// kind with a message naming the list; the pack is left empty, never half-filled.
#include "TilePack.h"

#include <kvException.h>
#include <vexa/platform.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

namespace {

const char* const DEFAULT_DESCRIPTION = "这个人很懒，什么都没留下。";

FILE* OpenEngineFile(const char* enginePath)
{
    return fopen(vexa::platform::HostPath(enginePath).c_str(), "rb");
}

// Reads one line of at most 511 characters without its line end ("\n" or "\r\n").
// Returns 0 at the end of the file, -1 when the line is longer (line then holds its
// first 511 characters and the rest of the line is skipped), 1 otherwise.
int ReadLine(FILE* file, char (&line)[512])
{
    char buffer[515];  // 511 characters, "\r\n" and the terminator
    if (!fgets(buffer, sizeof(buffer), file))
        return 0;
    size_t length = strlen(buffer);
    bool complete = (length > 0 && buffer[length - 1] == '\n') || feof(file);
    while (length > 0 && (buffer[length - 1] == '\n' || buffer[length - 1] == '\r'))
        buffer[--length] = 0;
    int result = 1;
    if (!complete) {
        int c;
        while ((c = fgetc(file)) != EOF && c != '\n') {
        }
        result = -1;
    }
    if (length > 511) {
        length = 511;
        result = -1;
    }
    memcpy(line, buffer, length);
    line[length] = 0;
    return result;
}

// Copies at most size-1 bytes and always terminates.
void CopyField(char* to, size_t size, const char* from, size_t length)
{
    if (length > size - 1)
        length = size - 1;
    memcpy(to, from, length);
    to[length] = 0;
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

void ReadDescription(const std::string& fileName, char (&description)[512])
{
    FILE* file = OpenEngineFile(fileName.c_str());
    if (!file) {
        CopyField(description, sizeof(description), DEFAULT_DESCRIPTION,
                  strlen(DEFAULT_DESCRIPTION));
        return;
    }
    char line[512];
    int got = ReadLine(file, line);
    fclose(file);
    // An over-long first line keeps its first 511 characters.
    if (got == 0)
        line[0] = 0;
    CopyField(description, sizeof(description), line, strlen(line));
}

void FillEntry(TilePackEntry& entry, const char* folder, const char* line)
{
    std::string path = std::string(folder) + line;
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i)
        if (IsSeparator(path[i]))
            start = i + 1;
    std::string directory = path.substr(0, start);
    std::string base = path.substr(start);
    size_t dot = base.rfind('.');
    if (dot != std::string::npos)
        base.resize(dot);
    size_t underscore = base.find('_');
    entry.tag[0] = 0;
    entry.name[0] = 0;
    if (underscore != std::string::npos) {
        CopyField(entry.tag, sizeof(entry.tag), base.c_str(), underscore);
        CopyField(entry.name, sizeof(entry.name), base.c_str() + underscore + 1,
                  base.size() - underscore - 1);
    }
    char descriptionFile[1100];
    snprintf(descriptionFile, sizeof(descriptionFile), "%s%s.txt", directory.c_str(),
             base.c_str());
    ReadDescription(descriptionFile, entry.description);
}

}  // namespace

CTilePack::CTilePack() : count(0), entries(nullptr), factory(nullptr) {}

CTilePack::~CTilePack()
{
    Clear();
}

void CTilePack::Clear()
{
    for (int i = 0; i < count; ++i)
        if (entries[i].texture && factory)
            factory->ReleaseTexture(entries[i].texture);
    delete[] entries;
    entries = nullptr;
    count = 0;
    factory = nullptr;
}

void CTilePack::Load(const char* folder, ITileTextureFactory* textures)
{
    Clear();
    std::string listName = std::string(folder) + "list.txt";
    FILE* file = OpenEngineFile(listName.c_str());
    if (!file)
        NewExceptionf(KVEXCEPTION_DATAFILE, "Failed to open tile pack list %s.", listName.c_str());

    // Every picture line is read and checked before any texture is made, so a refused
    // list leaves nothing registered behind.
    char line[512];
    int declared = 0;
    char extra = 0;
    int got = ReadLine(file, line);
    if (got != 1 || sscanf(line, "%d %c", &declared, &extra) != 1 || declared < 1 ||
        declared > TILEPACK_MAX_ENTRIES) {
        fclose(file);
        NewExceptionf(KVEXCEPTION_DATAFILE,
                      "Tile pack list %s must begin with a picture count from 1 to %d.",
                      listName.c_str(), TILEPACK_MAX_ENTRIES);
    }
    std::string names[TILEPACK_MAX_ENTRIES];
    for (int i = 0; i < declared; ++i) {
        got = ReadLine(file, line);
        if (got != 1 || line[0] == 0) {
            fclose(file);
            if (got == 0)
                NewExceptionf(KVEXCEPTION_DATAFILE,
                              "Tile pack list %s names %d pictures but lists only %d.",
                              listName.c_str(), declared, i);
            NewExceptionf(KVEXCEPTION_DATAFILE, "Tile pack list %s: picture line %d is %s.",
                          listName.c_str(), i + 1, got < 0 ? "too long" : "empty");
        }
        names[i] = line;
    }
    fclose(file);

    entries = new TilePackEntry[declared]();
    factory = textures;
    for (int i = 0; i < declared; ++i) {
        TilePackEntry& entry = entries[i];
        FillEntry(entry, folder, names[i].c_str());
        entry.texture = textures ? textures->CreateTexture(names[i].c_str()) : nullptr;
        count = i + 1;  // an exception from the factory leaves a pack Clear can release
    }
}
