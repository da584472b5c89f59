// The generators of the runtime tree's pictures, meshes and sounds, one per kind of asset.
// Each writes below the runtime tree `bin` (which ends in "/") and throws ArtError when a
// file cannot be written or a source is wrong; the tool then exits non-zero.
#ifndef VEXA_TOOLS_ARTTOOL_H
#define VEXA_TOOLS_ARTTOOL_H

#include "Canvas.h"

#include <stdexcept>
#include <string>

namespace art {

struct ArtError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Writes a canvas by the file's extension (.png, .tga, .jpg, .bmp) or throws.
void Save(const Canvas& canvas, const std::string& path);
// Creates a folder and its parents (the path ends in "/").
void MakeFolder(const std::string& path);

void MakeSkin(const std::string& bin);         // GUI/Mac/: the seven skin textures
void MakeBackgrounds(const std::string& bin);  // GUI/BackGround/: the three backgrounds
void MakeGuiPictures(const std::string& bin);  // GUI/: frames, panel, particle, bars, pointer; icon
// The window icon's picture at size x size pixels, for the desktop entry, or throws.
void MakeDesktopIcon(int size, const std::string& path);
void MakeMeshes(const std::string& bin);       // GUI/Mesh/: plane.x, frame.x
void MakeSounds(const std::string& bin);       // GUI/Sound/: the six effects
// DataPack/Vexa/: the tile pictures, list.txt and descriptions from the tile table.
void MakeTilePack(const std::string& bin, const std::string& tileTable, const std::string& emojiFont);

}  // namespace art

#endif
