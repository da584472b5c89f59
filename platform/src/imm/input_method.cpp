// The input method over SDL's text input: input contexts per window, composition from
// SDL_TEXTEDITING, results from SDL_TEXTINPUT. SDL reports no candidates and no clauses, so
// a composition is one clause and the candidate list is only what SetCandidates was given
// (vexa/ime.h); it closes with the composition, as an input method's candidate window does.
#include "input_method.h"

#include "../win32/code_page.h"

#include <SDL.h>

#include <utility>

namespace vexa::platform {

namespace {

// SDL counts the edit's cursor and selection in characters; the context keeps UTF-16 units.
LONG UnitsBefore(const std::u16string& text, int characters)
{
    LONG units = 0;
    for (int c = 0; c < characters && units < LONG(text.size()); ++c) {
        const char16_t u = text[size_t(units)];
        units += (u >= 0xD800 && u < 0xDC00 && units + 1 < LONG(text.size())) ? 2 : 1;
    }
    return units;
}

constexpr LPARAM kCompositionFlags = GCS_COMPSTR | GCS_COMPATTR | GCS_COMPCLAUSE | GCS_CURSORPOS;

// Registered before main so the pump finds it from the first window on.
struct Registration {
    Registration() { SetTextInputHandler(&InputMethod::Instance()); }
    ~Registration()
    {
        if (GetTextInputHandler() == &InputMethod::Instance())
            SetTextInputHandler(nullptr);
    }
} registration;

}  // namespace

InputMethod& InputMethod::Instance()
{
    static InputMethod instance;
    return instance;
}

InputMethod::WindowRecord* InputMethod::RecordOf(HWND window)
{
    auto found = windows_.find(window);
    if (found != windows_.end())
        return &found->second;
    if (!window || !IsWindow(window))
        return nullptr;
    WindowRecord& record = windows_[window];
    record.own = NewContext(window);
    record.attached = record.own;
    return &record;
}

HIMC InputMethod::NewContext(HWND window)
{
    const uintptr_t id = nextId_++;
    contexts_[id].window = window;
    return reinterpret_cast<HIMC>(id);
}

InputContext* InputMethod::Find(HIMC context)
{
    auto found = contexts_.find(reinterpret_cast<uintptr_t>(context));
    return found == contexts_.end() ? nullptr : &found->second;
}

HIMC InputMethod::Attached(HWND window)
{
    WindowRecord* record = RecordOf(window);
    return record ? record->attached : nullptr;
}

InputContext* InputMethod::AttachedContext(HWND window)
{
    return Find(Attached(window));
}

HIMC InputMethod::Associate(HWND window, HIMC context, bool* failed)
{
    WindowRecord* record = RecordOf(window);
    InputContext* target = context ? Find(context) : nullptr;
    if (!record || (context && !target)) {
        *failed = true;
        return nullptr;
    }
    *failed = false;
    const HIMC previous = record->attached;
    record->attached = context;
    if (target)
        target->window = window;
    if (window == focused_)
        UpdateTextInput();
    return previous;
}

void InputMethod::OnFocus(HWND focused)
{
    focused_ = focused;
    UpdateTextInput();
}

bool InputMethod::WantsTextInput(HWND window)
{
    InputContext* context = AttachedContext(window);
    return context && context->open;
}

bool InputMethod::TextInputActive(HWND window)
{
    // Whoever stopped SDL's text input, typed text no longer arrives through it.
    return WantsTextInput(window) && SDL_IsTextInputActive();
}

void InputMethod::UpdateTextInput(bool restart)
{
    const bool wanted = focused_ && WantsTextInput(focused_);
    if (restart || !wanted)
        SDL_StopTextInput();
    if (wanted)
        SDL_StartTextInput();
}

void InputMethod::OnTextEditing(HWND window, const std::string& utf8, int start, int length)
{
    InputContext* context = AttachedContext(window ? window : focused_);
    if (!context || !context->open)
        return;
    if (utf8.empty()) {
        if (context->composing)
            Abandon(*context);
        return;
    }
    if (!context->composing) {
        context->composing = true;
        context->result.clear();
        PostMessageA(context->window, WM_IME_STARTCOMPOSITION, 0, 0);
    }
    context->composition = Utf8ToUtf16(utf8);
    const LONG first = UnitsBefore(context->composition, start);
    const LONG last = length > 0 ? UnitsBefore(context->composition, start + length) : first;
    context->attributes.assign(context->composition.size(), ATTR_INPUT);
    for (LONG i = first; i < last; ++i)
        context->attributes[size_t(i)] = ATTR_TARGET_CONVERTED;
    context->cursor = first;
    PostMessageA(context->window, WM_IME_COMPOSITION, 0, kCompositionFlags);
}

void InputMethod::OnTextInput(HWND window, const std::string& utf8)
{
    InputContext* context = AttachedContext(window ? window : focused_);
    if (context && context->composing)
        Commit(*context, Utf8ToUtf16(utf8));
    else
        PostTextAsChars(window ? window : focused_, utf8);
}

void InputMethod::Commit(InputContext& context, std::u16string text)
{
    CloseCandidates(context);
    context.composing = false;
    context.composition.clear();
    context.attributes.clear();
    context.cursor = 0;
    context.result = std::move(text);
    // wParam carries the last character, as Windows passes it.
    const WPARAM last = text.empty() ? 0 : WPARAM(text.back());
    PostMessageA(context.window, WM_IME_COMPOSITION, last, GCS_RESULTSTR);
    PostMessageA(context.window, WM_IME_ENDCOMPOSITION, 0, 0);
}

void InputMethod::Abandon(InputContext& context)
{
    if (!context.composing)
        return;
    CloseCandidates(context);
    context.composing = false;
    context.composition.clear();
    context.attributes.clear();
    context.cursor = 0;
    PostMessageA(context.window, WM_IME_COMPOSITION, 0, 0);
    PostMessageA(context.window, WM_IME_ENDCOMPOSITION, 0, 0);
}

void InputMethod::Cancel(InputContext& context)
{
    Abandon(context);
    // SDL's input method would otherwise go on editing the dropped text.
    if (context.window == focused_)
        UpdateTextInput(true);
}

void InputMethod::Complete(InputContext& context)
{
    if (!context.composing)
        return;
    Commit(context, context.composition);
    // SDL's input method still holds the edit we just committed.
    if (context.window == focused_)
        UpdateTextInput(true);
}

void InputMethod::SetOpen(InputContext& context, bool open)
{
    if (!open)
        Cancel(context);
    context.open = open;
    if (context.window == focused_)
        UpdateTextInput();
}

bool InputMethod::SetCandidates(HWND window, std::vector<std::string> candidates,
                                DWORD selection, DWORD pageStart, DWORD pageSize)
{
    InputContext* context = AttachedContext(window);
    if (!context)
        return false;
    if (candidates.empty()) {
        CloseCandidates(*context);
        return true;
    }
    const WPARAM notice = context->candidatesOpen ? IMN_CHANGECANDIDATE : IMN_OPENCANDIDATE;
    context->candidatesOpen = true;
    context->candidates = std::move(candidates);
    context->selection = selection;
    context->pageStart = pageStart;
    context->pageSize = pageSize;
    // lParam: the bits of the lists concerned; there is one, list 0.
    PostMessageA(context->window, WM_IME_NOTIFY, notice, 1);
    return true;
}

void InputMethod::CloseCandidates(InputContext& context)
{
    if (!context.candidatesOpen)
        return;
    context.candidatesOpen = false;
    context.candidates.clear();
    context.selection = context.pageStart = context.pageSize = 0;
    PostMessageA(context.window, WM_IME_NOTIFY, IMN_CLOSECANDIDATE, 1);
}

void InputMethod::OnWindowDestroyed(HWND window)
{
    auto found = windows_.find(window);
    if (found != windows_.end()) {
        contexts_.erase(reinterpret_cast<uintptr_t>(found->second.own));
        windows_.erase(found);
    }
    if (window == focused_) {
        focused_ = nullptr;
        UpdateTextInput();
    }
}

}  // namespace vexa::platform
