// VexaArt: generates the runtime tree's art, meshes, sounds and tile pack.
//
//   VexaArt <runtime tree> <tile table> <colour emoji font>
//   VexaArt --icon <size> <file.png>     the window icon at size x size, for the desktop
//
// Deterministic: the same sources give the same bytes. Exits 1 with a message on the
// first error.
#include "ArtTool.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace art {

void MakeFolder(const std::string& path)
{
    for (size_t i = 1; i < path.size(); ++i)
        if (path[i] == '/') {
            std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0755) != 0) {
                struct stat st;
                if (stat(part.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
                    throw ArtError("cannot create folder " + part);
            }
        }
}

void Save(const Canvas& canvas, const std::string& path)
{
    std::string ext = path.substr(path.rfind('.') + 1);
    bool ok = ext == "png"   ? canvas.WritePng(path)
              : ext == "tga" ? canvas.WriteTga(path)
              : ext == "jpg" ? canvas.WriteJpg(path)
              : ext == "bmp" ? canvas.WriteBmp(path)
                             : false;
    if (!ok)
        throw ArtError("cannot write " + path);
}

}  // namespace art

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--icon") {
        try {
            art::MakeDesktopIcon(std::atoi(argv[2]), argv[3]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "VexaArt: %s\n", e.what());
            return 1;
        }
        return 0;
    }
    if (argc != 4) {
        std::fprintf(stderr, "usage: VexaArt <runtime tree> <tile table> <colour emoji font>\n"
                             "       VexaArt --icon <size> <file.png>\n");
        return 2;
    }
    std::string bin = argv[1];
    if (bin.empty() || bin.back() != '/')
        bin += '/';
    try {
        art::MakeFolder(bin);
        art::MakeSkin(bin);
        art::MakeBackgrounds(bin);
        art::MakeGuiPictures(bin);
        art::MakeMeshes(bin);
        art::MakeSounds(bin);
        art::MakeTilePack(bin, argv[2], argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "VexaArt: %s\n", e.what());
        return 1;
    }
    return 0;
}
