// Fuzz target: arbitrary bytes as a block file, loaded and then walked with the stream's
// reading operations. Every refusal must be an engine exception; anything else (a crash,
// a sanitizer report, a hang) is a fault.
#include "MemoryStream.h"

#include <kvException.h>

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        MemoryStream s("VexaTessel fuzz identity", true, false, true,
                       std::vector<BYTE>(data, data + size));
        s.Load();
        try {
            s.Authenticate();
        } catch (kvException* e) {
            DeleteException(e);
        }
        // Walk every block: a string, then words until the block refuses.
        for (DWORD i = 0; i < s.GetBlockCount(); ++i) {
            DWORD id = s.GetBlockEntry(i)->id;
            if (!s.SetBlock(id))
                continue;
            try {
                char text[256];
                s.LoadStringA(text);
            } catch (kvException* e) {
                DeleteException(e);
            }
            s.SetPos(0, 0);
            try {
                for (int k = 0; k < 64; ++k) {
                    DWORD word;
                    s.Read(&word, 4);
                    s.SetPos(1, int(word % 64) - 32);
                }
            } catch (kvException* e) {
                DeleteException(e);
            }
        }
    } catch (kvException* e) {
        DeleteException(e);
    }
    return 0;
}
