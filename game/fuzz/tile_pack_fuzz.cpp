// Fuzz target: arbitrary bytes as a tile pack. The bytes before the first NUL become
// list.txt, the rest the description file of the picture "p_q.jpg". Every refusal must be
// an engine exception; a crash, a sanitizer report or a hang is a fault.
#include <TilePack.h>
#include <kvException.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

namespace {

std::string folderPath;

void RemoveFolder()
{
    remove((folderPath + "list.txt").c_str());
    remove((folderPath + "p_q.txt").c_str());
    remove(folderPath.c_str());
}

// One scratch folder per process, removed when the process ends.
const std::string& Folder()
{
    if (folderPath.empty()) {
        char pattern[] = "/tmp/vexa_pack_fuzz_XXXXXX";
        folderPath = std::string(mkdtemp(pattern)) + "/";
        atexit(RemoveFolder);
    }
    return folderPath;
}

void WriteFile(const std::string& name, const uint8_t* data, size_t size)
{
    FILE* f = fopen((Folder() + name).c_str(), "wb");
    if (!f)
        return;
    if (size)
        fwrite(data, 1, size, f);
    fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint8_t* nul = static_cast<const uint8_t*>(memchr(data, 0, size));
    size_t listSize = nul ? static_cast<size_t>(nul - data) : size;
    WriteFile("list.txt", data, listSize);
    if (nul)
        WriteFile("p_q.txt", nul + 1, size - listSize - 1);
    else
        remove((Folder() + "p_q.txt").c_str());

    CTilePack pack;
    try {
        pack.Load(Folder().c_str(), nullptr);
        for (int i = 0; i < pack.count; ++i) {
            const TilePackEntry& e = pack.entries[i];
            // Every field must be terminated inside its array.
            if (!memchr(e.description, 0, sizeof(e.description)) || !memchr(e.name, 0, sizeof(e.name)) ||
                !memchr(e.tag, 0, sizeof(e.tag)))
                abort();
        }
    } catch (kvException* e) {
        DeleteException(e);
    }
    return 0;
}
