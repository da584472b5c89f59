// The resource compiler's work, as the program and its tests call it: a dialog source
// (YAML, UTF-8) becomes a resource file (a block file of GBK view records) and back.
//
// The file: the stream's identity block and stamp block, the version block
// RESOURCE_VERSION_BLOCK holding RESOURCE_FORMAT_VERSION, then one block per dialog under
// the dialog's view id, in source order. Views are built with the framework's own classes
// and stored with SaveAll; the bytes written are those of the dialogs as the loader reads
// them back (the built views are stored, loaded and stored again), so the file agrees
// with the loader by construction, and a decompiled source compiles to the same bytes.
#ifndef KVRC_KVRRESOURCE_H
#define KVRC_KVRRESOURCE_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class WDialog;

namespace kvrc {

// A refused source or resource file. The message names the place: "file:line:column:
// what was expected" for a source, "file: what is wrong" for a resource file.
class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct ReleaseDialog {
    void operator()(WDialog* dialog) const;
};
using DialogPtr = std::unique_ptr<WDialog, ReleaseDialog>;

struct DialogTree {
    DWORD id;
    DialogPtr dialog;
};

// The dialogs a source text describes; fileName only names the place in messages.
std::vector<DialogTree> ParseSource(const std::string& text, const std::string& fileName);
// The source text of dialogs as loaded from a resource file.
std::string WriteSource(const std::vector<DialogTree>& dialogs);

// The resource file's bytes for the dialogs.
std::vector<uint8_t> StoreDialogs(const std::vector<DialogTree>& dialogs);
// The dialogs of a resource file, loaded with WDialog(stream, id).
std::vector<DialogTree> LoadDialogs(const std::vector<uint8_t>& bytes, const std::string& fileName);

// The same with the compiler's text writer installed, as the program runs them: a source
// text to the bytes of its resource file, and such bytes to source text.
std::vector<uint8_t> CompileSource(const std::string& text, const std::string& fileName);
std::string DecompileResource(const std::vector<uint8_t>& bytes, const std::string& fileName);

// Source file to resource file, and back. The output is written to a temporary file
// beside it and renamed into place, so a refusal leaves no output, partial or stale.
void CompileFile(const std::string& sourcePath, const std::string& outputPath);
void DecompileFile(const std::string& resourcePath, const std::string& outputPath);

} // namespace kvrc

#endif
