// kvrc: the resource compiler.
//
//   kvrc source.yaml out.kvr             compiles the dialog source into a resource file
//   kvrc --decompile file.kvr out.yaml   writes the dialogs of a resource file as source
//
// A refusal prints one line naming the place and what was expected, leaves no output
// file and exits with status 1; a wrong command line exits with status 2.
#include "KvrResource.h"

#include <kvException.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    const bool decompile = argc == 4 && std::strcmp(argv[1], "--decompile") == 0;
    if (!decompile && (argc != 3 || argv[1][0] == '-')) {
        std::fprintf(stderr, "usage: kvrc source.yaml out.kvr\n"
                             "       kvrc --decompile file.kvr out.yaml\n");
        return 2;
    }
    try {
        if (decompile)
            kvrc::DecompileFile(argv[2], argv[3]);
        else
            kvrc::CompileFile(argv[1], argv[2]);
    } catch (const kvrc::Error& e) {
        std::fprintf(stderr, "kvrc: %s\n", e.what());
        return 1;
    } catch (kvException* e) {
        std::fprintf(stderr, "kvrc: %s\n", e->message);
        DeleteException(e);
        return 1;
    }
    return 0;
}
