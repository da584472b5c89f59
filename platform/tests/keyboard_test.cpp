// Keys as Windows delivers them: virtual keys, lParam bits, the system-key variants,
// TranslateMessage's characters, committed text as code-page-936 WM_CHAR bytes, and the
// key state.
#include "window_fixture.h"

#include <windows.h>

namespace {

using vexa::platform::ScanCodeOfSdl;
using vexa::platform::VirtualKeyOfSdl;
using vexa::test::WindowTest;

class KeyboardTest : public WindowTest {
  protected:
    MSG OnlyPosted()
    {
        std::vector<MSG> posted = TakePosted();
        EXPECT_EQ(1u, posted.size());
        return posted.empty() ? MSG{} : posted[0];
    }
};

struct KeyCase {
    SDL_Scancode sdl;
    int dik;
    int vk;
};

TEST(KeyTables, ScanCodesAndVirtualKeysFollowUsPositions)
{
    const KeyCase cases[] = {
        {SDL_SCANCODE_A, 0x1E, 'A'},
        {SDL_SCANCODE_Z, 0x2C, 'Z'},
        {SDL_SCANCODE_0, 0x0B, '0'},
        {SDL_SCANCODE_ESCAPE, 0x01, VK_ESCAPE},
        {SDL_SCANCODE_LEFT, 0xCB, VK_LEFT},
        {SDL_SCANCODE_RCTRL, 0x9D, VK_CONTROL},
        {SDL_SCANCODE_LSHIFT, 0x2A, VK_SHIFT},
        {SDL_SCANCODE_RALT, 0xB8, VK_MENU},
        {SDL_SCANCODE_PAUSE, 0xC5, VK_PAUSE},
        {SDL_SCANCODE_PRINTSCREEN, 0xB7, VK_SNAPSHOT},
        {SDL_SCANCODE_KP_7, 0x47, VK_NUMPAD7},
        {SDL_SCANCODE_KP_ENTER, 0x9C, VK_RETURN},
        {SDL_SCANCODE_SEMICOLON, 0x27, VK_OEM_1},
        {SDL_SCANCODE_F12, 0x58, VK_F12},
        {SDL_SCANCODE_APPLICATION, 0xDD, VK_APPS},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(SDL_GetScancodeName(c.sdl));
        EXPECT_EQ(c.dik, ScanCodeOfSdl(c.sdl));
        EXPECT_EQ(c.vk, VirtualKeyOfSdl(c.sdl));
    }
    EXPECT_EQ(0, ScanCodeOfSdl(SDL_SCANCODE_UNKNOWN));
    EXPECT_EQ(0, VirtualKeyOfSdl(SDL_NUM_SCANCODES - 1));
}

TEST_F(KeyboardTest, ArrowIsAnExtendedKey)
{
    HWND w = CreateShown();
    PushKey(w, SDL_SCANCODE_LEFT, true);
    MSG down = OnlyPosted();
    EXPECT_EQ(UINT(WM_KEYDOWN), down.message);
    EXPECT_EQ(w, down.hwnd);
    EXPECT_EQ(WPARAM(VK_LEFT), down.wParam);
    EXPECT_EQ(LPARAM(1 | (0x4B << 16) | (1 << 24)), down.lParam);
    PushKey(w, SDL_SCANCODE_LEFT, false);
    MSG up = OnlyPosted();
    EXPECT_EQ(UINT(WM_KEYUP), up.message);
    EXPECT_EQ(LPARAM(DWORD(1 | (0x4B << 16) | (1 << 24) | (1u << 30) | (1u << 31))), up.lParam);
}

TEST_F(KeyboardTest, RepeatSetsThePreviousStateBit)
{
    HWND w = CreateShown();
    PushKey(w, SDL_SCANCODE_A, true);
    PushKey(w, SDL_SCANCODE_A, true, true);
    std::vector<MSG> posted = TakePosted();
    ASSERT_EQ(2u, posted.size());
    EXPECT_EQ(LPARAM(1 | (0x1E << 16)), posted[0].lParam);
    EXPECT_EQ(LPARAM(1 | (0x1E << 16) | (1 << 30)), posted[1].lParam);
    PushKey(w, SDL_SCANCODE_A, false);
    TakePosted();
}

TEST_F(KeyboardTest, AltMakesSystemKeys)
{
    HWND w = CreateShown();
    PushKey(w, SDL_SCANCODE_LALT, true);
    PushKey(w, SDL_SCANCODE_X, true);
    PushKey(w, SDL_SCANCODE_X, false);
    PushKey(w, SDL_SCANCODE_LALT, false);
    PushKey(w, SDL_SCANCODE_F10, true);
    std::vector<MSG> posted = TakePosted();
    ASSERT_EQ(5u, posted.size());
    const UINT kinds[] = {WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSKEYUP, WM_SYSKEYDOWN};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(kinds[i], posted[i].message) << i;
    EXPECT_EQ(WPARAM(VK_MENU), posted[0].wParam);
    EXPECT_EQ(WPARAM('X'), posted[1].wParam);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(posted[i].lParam & (1 << 29)) << i;
    EXPECT_FALSE(posted[4].lParam & (1 << 29));
    PushKey(w, SDL_SCANCODE_F10, false);
    TakePosted();
}

TEST_F(KeyboardTest, KeyStateFollowsTheKeysSeen)
{
    HWND w = CreateShown();
    PushKey(w, SDL_SCANCODE_RSHIFT, true);
    TakePosted();
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_TRUE(GetKeyState(VK_RSHIFT) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_LSHIFT) & 0x8000);
    EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
    EXPECT_TRUE(vexa::platform::IsKeyHeld(0x36));
    PushKey(w, SDL_SCANCODE_RSHIFT, false);
    TakePosted();
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_FALSE(vexa::platform::IsKeyHeld(0x36));
    // Caps Lock toggles on each press.
    SHORT before = GetKeyState(VK_CAPITAL) & 1;
    PushKey(w, SDL_SCANCODE_CAPSLOCK, true);
    PushKey(w, SDL_SCANCODE_CAPSLOCK, false);
    TakePosted();
    EXPECT_NE(before, GetKeyState(VK_CAPITAL) & 1);
    PushKey(w, SDL_SCANCODE_CAPSLOCK, true);
    PushKey(w, SDL_SCANCODE_CAPSLOCK, false);
    TakePosted();
    EXPECT_EQ(before, GetKeyState(VK_CAPITAL) & 1);
}

struct CharCase {
    const char* name;
    std::vector<SDL_Scancode> held;
    SDL_Scancode key;
    std::vector<WPARAM> chars; // WM_CHAR codes TranslateMessage posts
};

TEST_F(KeyboardTest, TranslateGivesUsLayoutCharactersWithoutTextInput)
{
    const CharCase cases[] = {
        {"a", {}, SDL_SCANCODE_A, {'a'}},
        {"shift a", {SDL_SCANCODE_LSHIFT}, SDL_SCANCODE_A, {'A'}},
        {"shift 2", {SDL_SCANCODE_RSHIFT}, SDL_SCANCODE_2, {'@'}},
        {"slash", {}, SDL_SCANCODE_SLASH, {'/'}},
        {"backspace", {}, SDL_SCANCODE_BACKSPACE, {8}},
        {"enter", {}, SDL_SCANCODE_RETURN, {13}},
        {"ctrl c", {SDL_SCANCODE_LCTRL}, SDL_SCANCODE_C, {3}},
        {"numpad 5", {}, SDL_SCANCODE_KP_5, {'5'}},
        {"arrow", {}, SDL_SCANCODE_UP, {}},
    };
    HWND w = CreateShown();
    SDL_StopTextInput();
    for (const CharCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (SDL_Scancode h : c.held)
            PushKey(w, h, true);
        PushKey(w, c.key, true);
        std::vector<MSG> posted = TakePosted();
        ASSERT_EQ(c.held.size() + 1, posted.size());
        EXPECT_EQ(!c.chars.empty(), bool(TranslateMessage(&posted.back())));
        std::vector<WPARAM> chars;
        for (const MSG& m : TakePosted()) {
            EXPECT_EQ(UINT(WM_CHAR), m.message);
            chars.push_back(m.wParam);
        }
        EXPECT_EQ(c.chars, chars);
        PushKey(w, c.key, false);
        for (SDL_Scancode h : c.held)
            PushKey(w, h, false);
        TakePosted();
    }
}

TEST_F(KeyboardTest, WithTextInputOnlyControlCharactersAreTranslated)
{
    HWND w = CreateShown();
    SDL_StartTextInput();
    PushKey(w, SDL_SCANCODE_A, true);
    PushKey(w, SDL_SCANCODE_BACKSPACE, true);
    std::vector<MSG> keys = TakePosted();
    ASSERT_EQ(2u, keys.size());
    EXPECT_FALSE(TranslateMessage(&keys[0]));
    EXPECT_TRUE(TranslateMessage(&keys[1]));
    std::vector<MSG> chars = TakePosted();
    ASSERT_EQ(1u, chars.size());
    EXPECT_EQ(WPARAM(8), chars[0].wParam);
    PushKey(w, SDL_SCANCODE_A, false);
    PushKey(w, SDL_SCANCODE_BACKSPACE, false);
    TakePosted();
}

TEST_F(KeyboardTest, TranslatedCharacterComesBeforeLaterInput)
{
    HWND w = CreateShown();
    SDL_StopTextInput();
    PushKey(w, SDL_SCANCODE_A, true);
    PushKey(w, SDL_SCANCODE_B, true);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    ASSERT_TRUE(TranslateMessage(&msg));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_CHAR), msg.message);
    EXPECT_EQ(WPARAM('a'), msg.wParam);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_KEYDOWN), msg.message);
    EXPECT_EQ(WPARAM('B'), msg.wParam);
    PushKey(w, SDL_SCANCODE_A, false);
    PushKey(w, SDL_SCANCODE_B, false);
    TakePosted();
}

TEST_F(KeyboardTest, AltLetterTranslatesToSystemCharacter)
{
    HWND w = CreateShown();
    PushKey(w, SDL_SCANCODE_LALT, true);
    PushKey(w, SDL_SCANCODE_F, true);
    std::vector<MSG> keys = TakePosted();
    ASSERT_EQ(2u, keys.size());
    ASSERT_TRUE(TranslateMessage(&keys[1]));
    std::vector<MSG> chars = TakePosted();
    ASSERT_EQ(1u, chars.size());
    EXPECT_EQ(UINT(WM_SYSCHAR), chars[0].message);
    EXPECT_EQ(WPARAM('f'), chars[0].wParam);
    PushKey(w, SDL_SCANCODE_F, false);
    PushKey(w, SDL_SCANCODE_LALT, false);
    TakePosted();
}

struct TextCase {
    const char* utf8;
    std::vector<WPARAM> bytes;
};

TEST_F(KeyboardTest, CommittedTextArrivesAsCodePage936Bytes)
{
    const TextCase cases[] = {
        {"ab", {'a', 'b'}},
        {"\xE4\xB8\xAD", {0xD6, 0xD0}},       // 中, lead byte first
        {"x\xE6\x96\x87", {'x', 0xCE, 0xC4}}, // x文
    };
    HWND w = CreateShown();
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.utf8);
        PushText(w, c.utf8);
        std::vector<WPARAM> bytes;
        for (const MSG& m : TakePosted()) {
            EXPECT_EQ(UINT(WM_CHAR), m.message);
            EXPECT_EQ(w, m.hwnd);
            bytes.push_back(m.wParam);
        }
        EXPECT_EQ(c.bytes, bytes);
    }
}

} // namespace
