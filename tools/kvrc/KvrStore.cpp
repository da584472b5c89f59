// Dialogs to the bytes of a resource file and back, through a block-mode kvStream whose
// medium is a byte buffer. Storing passes the built dialogs through the loader once:
// what the file holds is what the loader's own views store, and storing what is loaded
// from it again must give the same bytes, or the compiler refuses to write anything.
#include "KvrResource.h"

#include "../../game/include/ResourceIdentity.h"

#include <WComboBox.h>
#include <WDialog.h>
#include <WListBox.h>
#include <WMenu.h>
#include <kvException.h>
#include <kvStream.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

namespace kvrc {
namespace {

// A block-mode stream on a byte buffer: the five sys operations of a file, in memory.
class MemoryStream : public kvStream {
  public:
    // For writing: Flush puts the block file into Bytes().
    MemoryStream() : kvStream(RESOURCE_IDENTITY_TEXT, true, true, false) {}
    // For reading: loads the block file and checks its identity, as the game's file stream
    // does; a refusal is an engine exception.
    explicit MemoryStream(std::vector<uint8_t> bytes)
        : kvStream(RESOURCE_IDENTITY_TEXT, true, false, true), medium(std::move(bytes))
    {
        GetResBlock();
        Authenticate();
    }
    const std::vector<uint8_t>& Bytes() const { return medium; }

  protected:
    void sysSetPos(int origin, int offset) override
    {
        const long base = origin == 1 ? long(pos) : origin == 2 ? long(medium.size()) : 0;
        pos = size_t(std::max(0L, base + offset));
    }
    int sysGetPos() override { return int(pos); }
    void sysRead(void* buffer, DWORD length) override
    {
        auto* out = static_cast<uint8_t*>(buffer);
        const size_t available = pos < medium.size() ? medium.size() - pos : 0;
        const size_t n = std::min<size_t>(length, available);
        std::memcpy(out, medium.data() + pos, n);
        std::memset(out + n, 0, length - n);
        pos += length;
    }
    void sysWrite(const void* buffer, DWORD length) override
    {
        if (medium.size() < pos + length)
            medium.resize(pos + length);
        std::memcpy(medium.data() + pos, buffer, length);
        pos += length;
    }
    void sysFlush() override {}

  private:
    std::vector<uint8_t> medium;
    size_t pos = 0;
};

// Clears the State bits that only the running framework sets (comment shown, active,
// root, button down and held); the loader's attaching sets the active bits again.
void ClearRuntimeState(WView* view)
{
    view->State &= ~DWORD(0x3E);
    if (view->Type == WTTComboBox)
        ClearRuntimeState(static_cast<WComboBox*>(view)->List);
    if (view->Type == WTTMenu) {
        auto* menu = static_cast<WMenu*>(view);
        for (int i = 0; i < menu->Count; ++i)
            if (menu->Items[i].SubMenu)
                ClearRuntimeState(menu->Items[i].SubMenu);
    }
    if (view->Type == WTTMenuBar) {
        auto* bar = static_cast<WMenuBar*>(view);
        for (int i = 0; i < bar->Count; ++i)
            ClearRuntimeState(bar->Bases[i].Menu);
    }
    for (WView* child = view->Child; child; child = child->Next)
        ClearRuntimeState(child);
}

std::vector<uint8_t> Store(const std::vector<DialogTree>& dialogs)
{
    MemoryStream stream;
    stream.AddBlock(RESOURCE_VERSION_BLOCK);
    const uint32_t version = RESOURCE_FORMAT_VERSION;
    const uint8_t word[4] = {uint8_t(version), uint8_t(version >> 8), uint8_t(version >> 16),
                             uint8_t(version >> 24)};
    stream.Write(word, 4);
    for (const DialogTree& tree : dialogs) {
        stream.AddBlock(tree.id);
        ClearRuntimeState(tree.dialog.get());
        // The root is stored alone: it is never attached, so it has no siblings.
        tree.dialog->SaveAll(&stream);
    }
    stream.Flush();
    return stream.Bytes();
}

std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", unsigned(value));
    return text;
}

} // namespace

void ReleaseDialog::operator()(WDialog* dialog) const
{
    dialog->DelRef();
    if (dialog->GetRef() <= 0)
        delete dialog;
}

std::vector<uint8_t> StoreDialogs(const std::vector<DialogTree>& dialogs)
{
    const std::vector<uint8_t> built = Store(dialogs);
    const std::vector<uint8_t> stored = Store(LoadDialogs(built, "the compiled dialogs"));
    if (Store(LoadDialogs(stored, "the compiled dialogs")) != stored)
        throw Error("the loader does not read back what the dialogs store; nothing written");
    return stored;
}

std::vector<DialogTree> LoadDialogs(const std::vector<uint8_t>& bytes, const std::string& fileName)
{
    std::vector<DialogTree> dialogs;
    kvException* refusal = nullptr;
    DWORD at = 0;
    try {
        MemoryStream stream(bytes);
        // Authenticate passes a file without an identity block; such a file is not ours.
        if (!stream.SetBlock(KVSTREAM_IDENTITY_BLOCK))
            throw Error(fileName + ": not a resource file of this program (no identity block)");
        std::set<DWORD> seen;
        bool versioned = false;
        for (DWORD i = 0; i < stream.GetBlockCount(); ++i) {
            const kvStreamBlock* block = stream.GetBlockEntry(i);
            at = block->id;
            if (!seen.insert(block->id).second)
                throw Error(fileName + ": block " + Hex(block->id) + " is listed twice");
            if (block->id == KVSTREAM_IDENTITY_BLOCK || block->id == KVSTREAM_STAMP_BLOCK)
                continue;
            if (block->id == RESOURCE_VERSION_BLOCK) {
                uint8_t word[4];
                stream.SetBlock(block->id);
                stream.SetPos(0, 0);
                stream.Read(word, 4);
                const uint32_t version = uint32_t(word[0]) | uint32_t(word[1]) << 8 |
                                         uint32_t(word[2]) << 16 | uint32_t(word[3]) << 24;
                if (block->size != 4 || version != RESOURCE_FORMAT_VERSION)
                    throw Error(fileName + ": format version " + std::to_string(version) +
                                " is not the version this compiler writes (" +
                                std::to_string(RESOURCE_FORMAT_VERSION) + ")");
                versioned = true;
                continue;
            }
            dialogs.push_back({block->id, DialogPtr(new WDialog(&stream, block->id))});
        }
        if (!versioned)
            throw Error(fileName + ": there is no version block " + Hex(RESOURCE_VERSION_BLOCK));
    } catch (kvException* e) {
        refusal = e;
    }
    if (refusal) {
        const std::string message = refusal->message;
        const bool identity = message == "File authentication failed.";
        const bool layout = refusal->type == KVEXCEPTION_DATAFILE;
        DeleteException(refusal);
        if (identity)
            throw Error(fileName +
                        ": not a resource file of this program: its identity text differs");
        if (layout)
            throw Error(fileName + ": not a block file: " + message);
        throw Error(fileName + ": block " + Hex(at) + " is refused: " + message);
    }
    return dialogs;
}

} // namespace kvrc
