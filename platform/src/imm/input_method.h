// Internal: the input method behind imm.h. One object owns every input context and is the
// pump's TextInputHandler: it turns SDL's text editing into the WM_IME_* messages and
// decides when SDL's text input runs.
//
// Invariant: SDL's text input is on exactly while the focused window has an open context
// attached. Context handles are ids that are never reused, so a stale HIMC is unknown.
#ifndef VEXA_PLATFORM_IMM_INPUT_METHOD_H
#define VEXA_PLATFORM_IMM_INPUT_METHOD_H

#include <imm.h>

#include "../win32/input_hub.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vexa::platform {

struct InputContext {
    HWND window = nullptr;  // the window it was last attached to; messages go there
    bool open = true;
    bool composing = false;
    std::u16string composition;
    std::vector<BYTE> attributes;  // one per UTF-16 unit of the composition
    LONG cursor = 0;               // in UTF-16 units
    std::u16string result;
    // The candidate list an input method shows; see vexa/ime.h.
    bool candidatesOpen = false;
    std::vector<std::string> candidates;  // code page 936
    DWORD selection = 0;
    DWORD pageStart = 0;
    DWORD pageSize = 0;
};

class InputMethod : public TextInputHandler {
public:
    static InputMethod& Instance();

    void OnFocus(HWND focused) override;
    void OnTextEditing(HWND window, const std::string& utf8, int start, int length) override;
    void OnTextInput(HWND window, const std::string& utf8) override;
    bool TextInputActive(HWND window) override;
    void OnWindowDestroyed(HWND window) override;

    // The context attached to a live window (its default one the first time); null when
    // detached or when the window is unknown.
    HIMC Attached(HWND window);
    // Attaches (or, with null, detaches) and returns the previous context. false in
    // *failed for an unknown window or context.
    HIMC Associate(HWND window, HIMC context, bool* failed);
    // The context of a handle; null when unknown.
    InputContext* Find(HIMC context);

    // Drops the composition, telling the window when one was running.
    void Cancel(InputContext& context);
    // Commits the composition string as the result.
    void Complete(InputContext& context);
    void SetOpen(InputContext& context, bool open);
    // Replaces the candidate list (code page 936) and notifies the window; an empty list
    // closes it. False when the window has no context attached.
    bool SetCandidates(HWND window, std::vector<std::string> candidates, DWORD selection,
                       DWORD pageStart, DWORD pageSize);

private:
    struct WindowRecord {
        HIMC own = nullptr;       // the default context, freed with the window
        HIMC attached = nullptr;  // null while detached
    };

    WindowRecord* RecordOf(HWND window);
    InputContext* AttachedContext(HWND window);
    HIMC NewContext(HWND window);
    // By value: the text may be the composition this clears.
    void Commit(InputContext& context, std::u16string text);
    // An open context is attached to the window.
    bool WantsTextInput(HWND window);
    // Ends a running composition without a result (the edit became empty).
    void Abandon(InputContext& context);
    // Drops an open candidate list, telling the window.
    void CloseCandidates(InputContext& context);
    // Applies the invariant above; restart also clears SDL's pending edit.
    void UpdateTextInput(bool restart = false);

    std::map<HWND, WindowRecord> windows_;
    std::map<uintptr_t, InputContext> contexts_;
    uintptr_t nextId_ = 1;
    HWND focused_ = nullptr;
};

}  // namespace vexa::platform

#endif
