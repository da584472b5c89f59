// The event queue, the redraw and exit commands, typed characters and key codes.
#include <kvInput.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

void Drain()
{
    ClearAsciiBuf();
    VlxMessage e;
    while (LoadEvent(&e)) {
    }
}

VlxMessage Key(int32_t code)
{
    return {VLX_KEY, code, 0, 0, 0, 0, 0, 0};
}

TEST(EventQueue, SeventeenthEventIsDropped)
{
    Drain();
    for (int i = 0; i < 17; ++i) {
        VlxMessage e = Key(i + 1);
        AddEvent(&e);
    }
    EXPECT_EQ(16, GetEventCount());
    VlxMessage out;
    for (int i = 0; i < 16; ++i) {
        ASSERT_TRUE(LoadEvent(&out));
        EXPECT_EQ(i + 1, out.x) << "slot " << i;
    }
    EXPECT_FALSE(LoadEvent(&out));
}

TEST(EventQueue, EmptyLoadGivesAnAllZeroRecord)
{
    Drain();
    VlxMessage out = {7, 7, 7, 7, 7, 7, 7, 7};
    EXPECT_FALSE(LoadEvent(&out));
    VlxMessage zero = {};
    EXPECT_EQ(0, memcmp(&zero, &out, sizeof(out)));
}

TEST(EventQueue, RedrawIsQueuedOnce)
{
    Drain();
    InvalidateView();
    InvalidateView();
    EXPECT_EQ(1, GetEventCount());
    VlxMessage out;
    ASSERT_TRUE(LoadEvent(&out));
    EXPECT_EQ(VLX_COMMAND, out.type);
    EXPECT_EQ(VLX_CMD_REDRAW, out.x);
    InvalidateView();
    EXPECT_EQ(1, GetEventCount());
    Drain();
}

TEST(EventQueue, ExitCommandSetsTheFlag)
{
    Drain();
    bExit = false;
    PushExitEvent();
    EXPECT_TRUE(bExit);
    VlxMessage out;
    ASSERT_TRUE(LoadEvent(&out));
    VlxMessage expected = {VLX_COMMAND, VLX_CMD_EXIT, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, memcmp(&expected, &out, sizeof(out)));
    bExit = false;
}

TEST(EventQueue, ClearExtraEventKeepsOnlyOtherKinds)
{
    Drain();
    VlxMessage m = {VLX_MOUSE, 1, 2, 0, 0, VLX_MOUSE_MOVE, 0, 0};
    VlxMessage k = Key(0x1E);
    AddEvent(&m);
    AddEvent(&m);
    AddEvent(&k);
    AddEvent(&m);
    ClearExtraEvent();
    ASSERT_EQ(1, GetEventCount());
    VlxMessage out;
    ASSERT_TRUE(LoadEvent(&out));
    EXPECT_EQ(VLX_KEY, out.type);
    EXPECT_EQ(0x1E, out.x);
}

TEST(BlinkClock, TogglesAfterHalfASecond)
{
    Drain();
    TimeStamp = 100000;
    VlxMessage out;
    LoadEvent(&out);  // far from the last toggle: toggles and queues a redraw
    Drain();
    bool phase = bCursorSparkle;
    TimeStamp += 500;
    EXPECT_FALSE(LoadEvent(&out));
    EXPECT_EQ(phase, bCursorSparkle);
    TimeStamp += 1;
    EXPECT_TRUE(LoadEvent(&out));
    EXPECT_EQ(VLX_CMD_REDRAW, out.x);
    EXPECT_NE(phase, bCursorSparkle);
    TimeStamp = 0;
    Drain();
}

TEST(TypedChars, OldestFirstAndSixteenAtMost)
{
    Drain();
    kvlib::PutTypedChar('a');
    kvlib::PutTypedChar(13);
    kvlib::PutTypedChar(27);
    kvlib::PutTypedChar(0x162);  // truncated to 'b'
    char c = 0;
    ASSERT_TRUE(LoadAsciiChar(&c));
    EXPECT_EQ('a', c);
    ASSERT_TRUE(LoadAsciiChar(&c));
    EXPECT_EQ('b', c);
    EXPECT_FALSE(LoadAsciiChar(&c));
    for (int i = 0; i < 17; ++i)
        kvlib::PutTypedChar(WPARAM('A' + i));
    int n = 0;
    while (LoadAsciiChar(&c)) {
        EXPECT_EQ(char('A' + n), c);
        ++n;
    }
    EXPECT_EQ(16, n);
}

struct KeyCase {
    WPARAM vk;
    LPARAM lParam;
    int32_t code;
};

TEST(KeyCodes, TableThenScanCode)
{
    const KeyCase cases[] = {
        {0x25, 0x014B0001, 0xCB},        // Left arrow
        {0x41, 0x001E0001, 0x1E},        // A
        {0x41, 0x401E0001, 0x401E},      // A, auto-repeat
        {0x1B, 0x00010001, 0x01},        // Escape
        {0x7B, 0x00580001, 0x58},        // F12
        {0x0C, 0x004C0001, 0x4C},        // Clear has no row
        {0x141, 0x001E0001, 0x1E},       // only the low byte names the key
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(c.code, kvlib::KeyDownCode(c.vk, c.lParam)) << "vk " << c.vk;
}

}  // namespace
