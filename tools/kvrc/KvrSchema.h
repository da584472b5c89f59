// The words of the dialog source, shared by the compiler and the decompiler so that each
// reads what the other writes: the view classes by name, the names of the state and
// placement bits and of the text formats and input modes, and the limits a stored record
// must keep for the loader to take it whole.
#ifndef KVRC_KVRSCHEMA_H
#define KVRC_KVRSCHEMA_H

#include <WView.h>

#include <cstdint>

namespace kvrc {

struct ClassInfo {
    const char* name;    // the class's own name, as the source writes it
    DWORD type;          // its type code in the records
    bool container;      // may hold child views in the source
    const char* caption; // the caption its constructor gives when the source has none
};
// Null for a name that is no storable class.
const ClassInfo* ClassByName(const char* name);
// Null for a type code that is never stored.
const ClassInfo* ClassByType(DWORD type);

struct FlagName {
    const char* name;
    DWORD bit;
};
// State bits a designer sets. The other low bits (has comment, comment shown, active, root,
// button down and held) are the framework's own at run time and are never stored.
extern const FlagName kStateFlags[4];
constexpr DWORD kRuntimeStateBits = 0x3F;
extern const FlagName kPlacementFlags[3];
// WText anchoring of labels and status fields.
extern const FlagName kTextFormats[4];
// Input line modes, by their number.
extern const FlagName kInputModes[4];

// What one stored record may hold so that the loader keeps it whole.
constexpr int kCoordLimit = VIEW_COORD_LIMIT;
constexpr int kViewTextBytes = VIEW_TEXT_SIZE - 1; // caption and comment
constexpr int kStoredStringBytes = 255;            // a list line, a menu record's text
constexpr int kMenuTextBytes = 31;
constexpr int kStaticTextBytes = 2047;
constexpr int kInputTextBytes = 255;
constexpr int kMaxListCapacity = 1024;
constexpr int kMaxMenuItems = 32;
constexpr int kMaxMenuBases = 32;
constexpr int kMaxMenuDepth = 16;
constexpr int kMaxViewDepth = 64;
constexpr int kMaxViewsPerDialog = 4096;
constexpr int kMaxViewsPerSource = 16384;
constexpr int kMaxSliderSteps = 65535;
// Blocks a stream holds, less the identity, the stamp and the version block.
constexpr int kMaxDialogs = 1024 - 3;
constexpr int kDefaultListCapacity = 16;
constexpr int kDefaultComboLines = 4;

} // namespace kvrc

#endif
