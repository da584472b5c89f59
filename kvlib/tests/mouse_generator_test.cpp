// The mouse-event generator of GetEvent, fed by a scripted input backend.
#include <kvInput.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One poll of the scripted backend: pointer, held buttons (bit per button), wheel.
struct Poll {
    int32_t x, y;
    int buttons;
    int32_t wheel;
};

class ScriptedInput : public kvInputInterface {
public:
    Poll next = {0, 0, 0, 0};
    int kbdPolls = 0;
    ScriptedInput() { InstallSelf(); }
    ~ScriptedInput() override { kvii = nullptr; }
    void Init() override {}
    void GetMouseInput() override
    {
        MouseX = next.x;
        MouseY = next.y;
        MouseWheel = next.wheel;
        for (int i = 0; i < 4; ++i)
            MyMouse.rgbButtons[i] = (next.buttons >> i) & 1 ? 0x80 : 0x00;
        MyMouse.lZ = next.wheel;
    }
    void GetKbdInput() override { ++kbdPolls; }
};

struct Ev {
    int32_t action, x, y, dx, dy, buttons;
};

std::string Show(const std::vector<Ev>& v)
{
    std::string s;
    for (const Ev& e : v)
        s += "{" + std::to_string(e.action) + " at " + std::to_string(e.x) + "," +
             std::to_string(e.y) + " d " + std::to_string(e.dx) + "," + std::to_string(e.dy) +
             " b " + std::to_string(e.buttons) + "} ";
    return s;
}

std::vector<Ev> TakeMouseEvents()
{
    std::vector<Ev> out;
    VlxMessage e;
    while (LoadEvent(&e)) {
        if (e.type == VLX_MOUSE)
            out.push_back({e.action, e.x, e.y, e.dx, e.dy, e.buttons});
    }
    return out;
}

struct Case {
    const char* name;
    std::vector<Poll> polls;
    std::vector<Ev> expected;
};

class MouseGenerator : public ::testing::Test {
protected:
    ScriptedInput input;
    // Brings the generator to rest at (100, 100) with nothing held and an empty queue.
    void SetUp() override
    {
        ClearAsciiBuf();
        input.next = {100, 100, 0, 0};
        GetEvent();
        TakeMouseEvents();
    }
    std::vector<Ev> Run(const std::vector<Poll>& polls)
    {
        for (const Poll& p : polls) {
            input.next = p;
            GetEvent();
        }
        return TakeMouseEvents();
    }
};

TEST_F(MouseGenerator, Sequences)
{
    const Case cases[] = {
        {"press, move by 5, release is a drag and drop",
         {{100, 100, 1, 0}, {105, 100, 1, 0}, {105, 100, 0, 0}},
         {{1, 100, 100, 0, 0, 1}, {2, 105, 100, 5, 0, 1}, {5, 100, 100, 5, 0, 1},
          {3, 105, 100, 0, 0, 1}, {6, 105, 100, 0, 0, 1}}},
        {"press and release in place is a click",
         {{100, 100, 1, 0}, {100, 100, 0, 0}},
         {{1, 100, 100, 0, 0, 1}, {3, 100, 100, 0, 0, 1}, {4, 100, 100, 0, 0, 1}}},
        {"a second button while held is a second press",
         {{100, 100, 1, 0}, {100, 100, 3, 0}, {100, 100, 0, 0}},
         {{1, 100, 100, 0, 0, 1}, {1, 100, 100, 0, 0, 3}, {3, 100, 100, 0, 0, 3},
          {4, 100, 100, 0, 0, 3}}},
        {"a move with nothing held",
         {{90, 120, 0, 0}},
         {{2, 90, 120, -10, 20, 0}}},
        {"standing still with nothing held is silent",
         {{100, 100, 0, 0}, {100, 100, 0, 0}},
         {}},
        {"holding still after a press is silent",
         {{100, 100, 4, 0}, {100, 100, 4, 0}, {100, 100, 0, 0}},
         {{1, 100, 100, 0, 0, 4}, {3, 100, 100, 0, 0, 4}, {4, 100, 100, 0, 0, 4}}},
        {"a wheel turn is a move with buttons 4 and no drag",
         {{100, 100, 0, 120}, {100, 100, 1, 0}, {100, 100, 0, 0}},
         {{2, 100, 100, 0, 0, 4}, {1, 100, 100, 0, 0, 1}, {3, 100, 100, 0, 0, 1},
          {4, 100, 100, 0, 0, 1}}},
        {"a wheel turn while moving is an ordinary move",
         {{101, 100, 0, 120}},
         {{2, 101, 100, 1, 0, 0}}},
        {"a drag starts once",
         {{100, 100, 1, 0}, {110, 100, 1, 0}, {120, 105, 1, 0}, {120, 105, 0, 0}},
         {{1, 100, 100, 0, 0, 1}, {2, 110, 100, 10, 0, 1}, {5, 100, 100, 10, 0, 1},
          {2, 120, 105, 10, 5, 1}, {3, 120, 105, 0, 0, 1}, {6, 120, 105, 0, 0, 1}}},
    };
    for (const Case& c : cases) {
        SetUp();
        std::vector<Ev> got = Run(c.polls);
        EXPECT_EQ(Show(c.expected), Show(got)) << c.name;
    }
}

TEST_F(MouseGenerator, EventsCarryTheTimeStampAndKeyboardIsPolled)
{
    int before = input.kbdPolls;
    TimeStamp = 4242;
    input.next = {100, 100, 1, 0};
    GetEvent();
    EXPECT_EQ(before + 1, input.kbdPolls);
    VlxMessage e;
    ASSERT_TRUE(LoadEvent(&e));
    EXPECT_EQ(4242, e.time);
    input.next = {100, 100, 0, 0};
    GetEvent();
    TakeMouseEvents();
    TimeStamp = 0;
}

TEST_F(MouseGenerator, GetInputQueuesNothing)
{
    input.next = {50, 60, 1, 0};
    kvii->GetInput();
    EXPECT_EQ(50, MouseX);
    EXPECT_EQ(0x80, MyMouse.rgbButtons[0]);
    EXPECT_EQ(0, GetEventCount());
}

}  // namespace
