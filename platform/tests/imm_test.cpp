// The input method through the pump: contexts per window, the composition messages from
// pushed SDL text events, the composition strings, and the committed text as WM_CHAR.
#include <imm.h>

#include <test_window.h>
#include <vexa/ime.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// UTF-8 for SDL whatever the narrow literal encoding is.
const char* const kNi = u8"ni";
const char* const kYou = u8"你";

struct Seen {
    UINT message;
    LPARAM lParam;
};

std::vector<Seen> ImeMessages(const TestWindow& w)
{
    std::vector<Seen> seen;
    for (const MSG& m : w.Take(WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION))
        seen.push_back({m.message, m.lParam});
    return seen;
}

std::vector<WPARAM> Chars(const TestWindow& w)
{
    std::vector<WPARAM> chars;
    for (const MSG& m : w.Take(WM_CHAR, WM_CHAR))
        chars.push_back(m.wParam);
    return chars;
}

std::u16string CompositionText(HIMC context, DWORD index)
{
    const LONG size = ImmGetCompositionStringW(context, index, nullptr, 0);
    std::u16string text(size_t(size > 0 ? size / 2 : 0), u'\0');
    if (size > 0) {
        EXPECT_EQ(ImmGetCompositionStringW(context, index, text.data(), DWORD(size)), size);
    }
    return text;
}

std::vector<BYTE> Attributes(HIMC context)
{
    const LONG size = ImmGetCompositionStringW(context, GCS_COMPATTR, nullptr, 0);
    std::vector<BYTE> bytes(size_t(size > 0 ? size : 0));
    if (size > 0)
        ImmGetCompositionStringW(context, GCS_COMPATTR, bytes.data(), DWORD(size));
    return bytes;
}

constexpr LPARAM kCompositionFlags = GCS_COMPSTR | GCS_COMPATTR | GCS_COMPCLAUSE | GCS_CURSORPOS;

TEST(ImmContext, DetachingAndReattachingTogglesTextInputOfTheFocusedWindow)
{
    TestWindow w;
    const HIMC own = ImmGetContext(w.handle);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(ImmGetContext(w.handle), own);
    EXPECT_TRUE(ImmReleaseContext(w.handle, own));
    EXPECT_TRUE(SDL_IsTextInputActive());

    const HIMC saved = ImmAssociateContext(w.handle, nullptr);
    EXPECT_EQ(saved, own);
    EXPECT_EQ(ImmGetContext(w.handle), nullptr);
    EXPECT_FALSE(SDL_IsTextInputActive());

    EXPECT_EQ(ImmAssociateContext(w.handle, saved), nullptr);
    EXPECT_EQ(ImmGetContext(w.handle), own);
    EXPECT_TRUE(SDL_IsTextInputActive());
}

TEST(ImmContext, EachWindowHasItsOwnAndFocusDecidesTextInput)
{
    TestWindow first;
    TestWindow second;
    const HIMC a = ImmGetContext(first.handle);
    const HIMC b = ImmGetContext(second.handle);
    EXPECT_NE(a, nullptr);
    EXPECT_NE(a, b);

    ImmAssociateContext(first.handle, nullptr);
    SetFocus(first.handle);
    EXPECT_FALSE(SDL_IsTextInputActive());
    SetFocus(second.handle);
    EXPECT_TRUE(SDL_IsTextInputActive());
}

TEST(ImmContext, UnknownWindowsAndContextsFail)
{
    HIMC stale;
    {
        TestWindow w;
        stale = ImmGetContext(w.handle);
        ASSERT_TRUE(ImmGetOpenStatus(stale));
    }
    EXPECT_FALSE(ImmGetOpenStatus(stale));
    EXPECT_FALSE(ImmReleaseContext(nullptr, stale));
    EXPECT_EQ(ImmGetCompositionStringW(stale, GCS_COMPSTR, nullptr, 0), IMM_ERROR_GENERAL);
    EXPECT_FALSE(ImmNotifyIME(stale, NI_COMPOSITIONSTR, CPS_CANCEL, 0));
    EXPECT_FALSE(ImmSetOpenStatus(nullptr, TRUE));
    EXPECT_EQ(ImmGetContext(nullptr), nullptr);

    TestWindow w;
    EXPECT_EQ(ImmAssociateContext(w.handle, stale), nullptr);
    EXPECT_NE(ImmGetContext(w.handle), nullptr) << "a failed attach keeps the context";
}

TEST(ImmComposition, EditsThenResultArriveAsWindowsSendsThem)
{
    TestWindow w;
    const HIMC context = ImmGetContext(w.handle);

    w.PushEditing(kNi, 2, 0);
    std::vector<Seen> seen = ImeMessages(w);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, UINT(WM_IME_STARTCOMPOSITION));
    EXPECT_EQ(seen[1].message, UINT(WM_IME_COMPOSITION));
    EXPECT_EQ(seen[1].lParam, kCompositionFlags);
    EXPECT_EQ(CompositionText(context, GCS_COMPSTR), u"ni");
    EXPECT_EQ(ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0), 4);
    EXPECT_EQ(Attributes(context), (std::vector<BYTE>{ATTR_INPUT, ATTR_INPUT}));
    EXPECT_EQ(ImmGetCompositionStringW(context, GCS_CURSORPOS, nullptr, 0), 2);
    DWORD clauses[2] = {};
    EXPECT_EQ(ImmGetCompositionStringW(context, GCS_COMPCLAUSE, clauses, sizeof(clauses)), 8);
    EXPECT_EQ(clauses[1], 2u);

    w.PushEditing(kYou, 0, 1);
    seen = ImeMessages(w);
    ASSERT_EQ(seen.size(), 1u) << "no second start while composing";
    EXPECT_EQ(seen[0].message, UINT(WM_IME_COMPOSITION));
    EXPECT_EQ(CompositionText(context, GCS_COMPSTR), u"你");
    EXPECT_EQ(Attributes(context), std::vector<BYTE>{ATTR_TARGET_CONVERTED});
    EXPECT_EQ(ImmGetCompositionStringW(context, GCS_CURSORPOS, nullptr, 0), 0);

    w.PushText(kYou);
    seen = ImeMessages(w);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, UINT(WM_IME_COMPOSITION));
    EXPECT_EQ(seen[0].lParam, LPARAM(GCS_RESULTSTR));
    EXPECT_EQ(seen[1].message, UINT(WM_IME_ENDCOMPOSITION));
    EXPECT_EQ(CompositionText(context, GCS_RESULTSTR), u"你");
    EXPECT_EQ(ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0), 0);
    EXPECT_TRUE(Chars(w).empty()) << "the result is the window's to turn into characters";
}

TEST(ImmComposition, SelectionMarksTheTargetUnitsAndCopiesAreBounded)
{
    TestWindow w;
    const HIMC context = ImmGetContext(w.handle);
    // "a😀b": the emoji is one character for SDL and two UTF-16 units here.
    w.PushEditing(u8"a😀bc", 1, 2);
    w.Drain();
    EXPECT_EQ(Attributes(context),
              (std::vector<BYTE>{ATTR_INPUT, ATTR_TARGET_CONVERTED, ATTR_TARGET_CONVERTED,
                                 ATTR_TARGET_CONVERTED, ATTR_INPUT}));
    EXPECT_EQ(ImmGetCompositionStringW(context, GCS_CURSORPOS, nullptr, 0), 1);

    char16_t truncated[5] = {u'x', u'x', u'x', u'x', u'x'};
    EXPECT_EQ(ImmGetCompositionStringW(context, GCS_COMPSTR, truncated, 2), 2);
    EXPECT_EQ(truncated[0], u'a');
    EXPECT_EQ(truncated[1], u'x');
    EXPECT_EQ(ImmGetCompositionStringW(context, GCS_COMPREADSTR, nullptr, 0), IMM_ERROR_NODATA);
    ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
}

TEST(ImmComposition, CancelledCompositionEndsWithoutResult)
{
    struct Way {
        const char* name;
        void (*cancel)(const TestWindow&, HIMC);
    };
    const Way ways[] = {
        {"empty edit from SDL", [](const TestWindow& w, HIMC) { w.PushEditing("", 0, 0); }},
        {"ImmNotifyIME CPS_CANCEL",
         [](const TestWindow&, HIMC c) {
             EXPECT_TRUE(ImmNotifyIME(c, NI_COMPOSITIONSTR, CPS_CANCEL, 0));
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        TestWindow w;
        const HIMC context = ImmGetContext(w.handle);
        w.PushEditing(kNi, 2, 0);
        ImeMessages(w);
        way.cancel(w, context);
        const std::vector<Seen> seen = ImeMessages(w);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[0].message, UINT(WM_IME_COMPOSITION));
        EXPECT_EQ(seen[0].lParam, 0);
        EXPECT_EQ(seen[1].message, UINT(WM_IME_ENDCOMPOSITION));
        EXPECT_EQ(ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0), 0);
        EXPECT_EQ(ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0), 0);
        EXPECT_TRUE(SDL_IsTextInputActive());
    }
}

TEST(ImmComposition, CompleteCommitsTheCompositionString)
{
    TestWindow w;
    const HIMC context = ImmGetContext(w.handle);
    w.PushEditing(kNi, 2, 0);
    ImeMessages(w);
    EXPECT_TRUE(ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
    const std::vector<Seen> seen = ImeMessages(w);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].lParam, LPARAM(GCS_RESULTSTR));
    EXPECT_EQ(CompositionText(context, GCS_RESULTSTR), u"ni");
    EXPECT_FALSE(ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CONVERT, 0));
    EXPECT_FALSE(ImmNotifyIME(context, NI_OPENCANDIDATE, 0, 0));
}

TEST(ImmText, DefaultProcedureTurnsTheResultIntoAnsiChars)
{
    TestWindow w;
    w.PushEditing(kYou, 0, 1);
    w.PushText(kYou);
    MSG result = {};
    for (const MSG& m : w.Take(WM_IME_COMPOSITION, WM_IME_COMPOSITION))
        if (m.lParam & GCS_RESULTSTR)
            result = m;
    ASSERT_EQ(result.message, UINT(WM_IME_COMPOSITION));
    EXPECT_TRUE(Chars(w).empty());

    DispatchMessageA(&result);
    EXPECT_EQ(Chars(w), (std::vector<WPARAM>{0xC4, 0xE3}));

    // A composition update is not text.
    DefWindowProcA(w.handle, WM_IME_COMPOSITION, 0, kCompositionFlags);
    EXPECT_TRUE(Chars(w).empty());
}

TEST(ImmText, PlainTypingBecomesCharsDirectly)
{
    TestWindow w;
    w.PushText(u8"ab");
    EXPECT_EQ(Chars(w), (std::vector<WPARAM>{'a', 'b'}));
    EXPECT_TRUE(ImeMessages(w).empty());
}

TEST(ImmOpenStatus, ClosedContextStopsTextInputAndDropsComposition)
{
    TestWindow w;
    const HIMC context = ImmGetContext(w.handle);
    EXPECT_TRUE(ImmGetOpenStatus(context));
    w.PushEditing(kNi, 2, 0);
    ImeMessages(w);

    EXPECT_TRUE(ImmSetOpenStatus(context, FALSE));
    EXPECT_FALSE(ImmGetOpenStatus(context));
    EXPECT_FALSE(SDL_IsTextInputActive());
    EXPECT_EQ(ImeMessages(w).size(), 2u) << "the running composition ends";

    EXPECT_TRUE(ImmSetOpenStatus(context, TRUE));
    EXPECT_TRUE(SDL_IsTextInputActive());
}

TEST(ImmProperties, AnswersOfAnInPlaceImeWithoutCandidates)
{
    TestWindow w;
    const HKL layout = GetKeyboardLayout(0);
    EXPECT_EQ(ImmGetProperty(layout, IGP_PROPERTY), DWORD(IME_PROP_AT_CARET | IME_PROP_UNICODE));
    EXPECT_EQ(ImmGetProperty(layout, IGP_GETIMEVERSION), 0x00040000u);
    EXPECT_EQ(ImmGetProperty(layout, IGP_CONVERSION), 0u);
    w.PushEditing(kNi, 2, 0);
    w.Drain();
    CANDIDATELIST list = {};
    EXPECT_EQ(ImmGetCandidateListA(ImmGetContext(w.handle), 0, nullptr, 0), 0u);
    EXPECT_EQ(ImmGetCandidateListA(ImmGetContext(w.handle), 0, &list, sizeof(list)), 0u);
    ImmNotifyIME(ImmGetContext(w.handle), NI_COMPOSITIONSTR, CPS_CANCEL, 0);
}

std::vector<WPARAM> Notices(const TestWindow& w)
{
    std::vector<WPARAM> notices;
    for (const MSG& m : w.Take(WM_IME_NOTIFY, WM_IME_NOTIFY))
        notices.push_back(m.wParam);
    return notices;
}

TEST(ImmCandidates, AListSetIsCopiedInCodePage936AndNoticesFollowItsLife)
{
    TestWindow w;
    const HIMC context = ImmGetContext(w.handle);
    ASSERT_TRUE(vexa::platform::SetImeCandidates(w.handle, {u8"中", u8"种", "ab"}, 1, 0, 9));
    EXPECT_EQ(Notices(w), std::vector<WPARAM>{IMN_OPENCANDIDATE});
    const DWORD size = ImmGetCandidateListA(context, 0, nullptr, 0);
    ASSERT_EQ(size, 24u + 3 * 4 + 3 + 3 + 3);
    std::vector<BYTE> copy(size + 1, 0xEE);
    auto* list = reinterpret_cast<CANDIDATELIST*>(copy.data());
    EXPECT_EQ(ImmGetCandidateListA(context, 0, list, size - 1), 0u) << "too small: nothing";
    EXPECT_EQ(ImmGetCandidateListA(context, 1, list, size), 0u) << "there is one list";
    ASSERT_EQ(ImmGetCandidateListA(context, 0, list, size), size);
    EXPECT_EQ(list->dwCount, 3u);
    EXPECT_EQ(list->dwSelection, 1u);
    EXPECT_EQ(list->dwPageSize, 9u);
    EXPECT_STREQ(reinterpret_cast<char*>(copy.data() + list->dwOffset[1]), "\xD6\xD6");
    EXPECT_STREQ(reinterpret_cast<char*>(copy.data() + list->dwOffset[2]), "ab");
    EXPECT_EQ(copy[size], 0xEE) << "nothing written past the list";

    ASSERT_TRUE(vexa::platform::SetImeCandidates(w.handle, {u8"中"}, 0, 0, 9));
    w.PushEditing(u8"zhong", 5, 0);
    w.PushText(u8"中");
    EXPECT_EQ(Notices(w), (std::vector<WPARAM>{IMN_CHANGECANDIDATE, IMN_CLOSECANDIDATE}))
        << "the result closes the list";
    EXPECT_EQ(ImmGetCandidateListA(context, 0, nullptr, 0), 0u);
    ASSERT_TRUE(vexa::platform::SetImeCandidates(w.handle, {}, 0, 0, 0));
    EXPECT_TRUE(Notices(w).empty()) << "nothing to close";

    ImmAssociateContext(w.handle, nullptr);
    EXPECT_FALSE(vexa::platform::SetImeCandidates(w.handle, {"a"}, 0, 0, 9));
}

}  // namespace
