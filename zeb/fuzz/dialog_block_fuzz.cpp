// Fuzz target: arbitrary bytes as the block of one dialog, loaded with WDialog(stream,
// id), drawn once with the default style, and written back with SaveAll. Every refusal
// must be an engine exception; anything else (a crash, a sanitizer report, a leak, a
// hang) is a fault.
#include <Zeb.h>

#include <kvException.h>
#include <kvStream.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The default style draws through the base drawing interface and text writer, which
    // do nothing, so the drawers still read everything the loader built.
    static const bool styled = (SetUIStyle(new CUIStyle), true);
    (void)styled;
    kvStream in("dialog fuzz", true, false, false);
    in.AddBlock(1);
    if (size)
        in.Write(data, DWORD(size));
    try {
        WDialog dialog(&in, 1);
        dialog.Draw();
        kvStream out("dialog fuzz out", true, false, false);
        out.AddBlock(1);
        dialog.SaveAll(&out);
    } catch (kvException* e) {
        DeleteException(e);
    }
    return 0;
}
