// The input backend on a real window: pushed SDL events reach the KvLib input globals
// through DirectInput, and the backend survives the program going to the background.
#include <kvDInput.h>

#include <kvApplication.h>
#include <kvException.h>
#include <test_window.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The backend with its repeat clock in the test's hands.
class ClockedInput : public kvDInput {
public:
    DWORD now = 1000;

protected:
    DWORD Now() override { return now; }
};

class Backend : public ::testing::Test {
protected:
    void SetUp() override
    {
        hWnd = window.handle;
        ScreenX = 320;
        ScreenY = 240;
        bKeyRepeat = true;
        input = new ClockedInput;
        input->Init();
    }
    void TearDown() override
    {
        delete input;
        kvii = nullptr;
        hWnd = nullptr;
        window.PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
        window.Drain();
    }
    std::vector<int> Keys()
    {
        std::vector<int> got;
        for (int k = input->GetAKey(); k != 0; k = input->GetAKey())
            got.push_back(k);
        return got;
    }

    TestWindow window{320, 240};
    ClockedInput* input = nullptr;
};

const GUID kBackendId = {0x5A1C0E52, 0x8D3B, 0x4F27, {0x9E, 0x61, 0x2B, 0x7D, 0x4C, 0x8A, 0x9F, 0x30}};

TEST(KvDInput, ConstructingInstallsItselfWithItsClassId)
{
    kvDInput* backend = new kvDInput;
    EXPECT_EQ(kvii, backend);
    EXPECT_TRUE(IsEqualGUID(backend->ClassId, kBackendId));
    backend->Release();
    backend->Release();
    kvInputInterface* base = backend;
    delete base;
    kvii = nullptr;
}

TEST(KvDInput, InitWithoutAWindowFailsWithAMessage)
{
    hWnd = nullptr;
    kvDInput backend;
    std::string message;
    try {
        backend.Init();
    } catch (kvException* e) {
        message = e->message;
        DeleteException(e);
    }
    EXPECT_EQ(message, "Failed to set the mouse cooperative level.");
    MyMouse.rgbButtons[0] = 0x80;
    keys[DIK_A] = 0x80;
    backend.GetMouseInput();
    backend.GetKbdInput();
    EXPECT_EQ(MyMouse.rgbButtons[0], 0);
    EXPECT_EQ(keys[DIK_A], 0);
    kvii = nullptr;
}

TEST_F(Backend, MouseMotionWheelAndButtons)
{
    window.PushMotion(100, 50, 5, -2);
    window.PushWheel(1);
    window.PushButton(SDL_BUTTON_LEFT, true, 100, 50);
    input->GetMouseInput();
    EXPECT_EQ(MyMouse.lX, 5);
    EXPECT_EQ(MyMouse.lY, -2);
    EXPECT_EQ(MouseWheel, 120);
    EXPECT_EQ(MyMouse.rgbButtons[0], 0x80);
    EXPECT_EQ(MouseX, 100);
    EXPECT_EQ(MouseY, 50);
    EXPECT_TRUE(bMouseMoved);
    EXPECT_FALSE(bMouseOuted);

    window.PushButton(SDL_BUTTON_LEFT, false, 100, 50);
    input->GetMouseInput();
    EXPECT_EQ(MyMouse.lX, 0);
    EXPECT_EQ(MouseWheel, 0);
    EXPECT_EQ(MyMouse.rgbButtons[0], 0);
    EXPECT_FALSE(bMouseMoved);
}

TEST_F(Backend, PointerOutsideIsClampedAndFlagged)
{
    struct Case {
        int x, y;
        int32_t expectX, expectY;
        bool outside;
    };
    const Case cases[] = {
        {319, 239, 319, 239, false},
        {400, 100, 319, 100, true},
        {10, -7, 10, 0, true},
        {0, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        window.PushMotion(c.x, c.y, 1, 1);
        input->GetMouseInput();
        EXPECT_EQ(MouseX, c.expectX);
        EXPECT_EQ(MouseY, c.expectY);
        EXPECT_EQ(bMouseOuted, c.outside);
    }
}

TEST_F(Backend, KeysAndPreviousKeys)
{
    window.PushKey(SDL_SCANCODE_A, true);
    input->GetKbdInput();
    EXPECT_EQ(keys[DIK_A], 0x80);
    EXPECT_EQ(prevkeys[DIK_A], 0);
    input->GetKbdInput();
    EXPECT_EQ(prevkeys[DIK_A], 0x80);
    window.PushKey(SDL_SCANCODE_A, false);
    input->GetKbdInput();
    EXPECT_EQ(keys[DIK_A], 0);
    EXPECT_EQ(prevkeys[DIK_A], 0x80);
}

TEST_F(Backend, KeyPressesComeOutInOrderAndCanBeCleared)
{
    const SDL_Scancode typed[] = {SDL_SCANCODE_Q, SDL_SCANCODE_W, SDL_SCANCODE_RETURN};
    for (SDL_Scancode s : typed) {
        window.PushKey(s, true);
        window.PushKey(s, false);
    }
    input->GetKbdInput();
    EXPECT_EQ(Keys(), (std::vector<int>{DIK_Q, DIK_W, DIK_RETURN}));

    window.PushKey(SDL_SCANCODE_E, true);
    window.PushKey(SDL_SCANCODE_E, false);
    input->GetKbdInput();
    input->ClearKeyBuf();
    EXPECT_EQ(input->GetAKey(), 0);
}

TEST_F(Backend, HeldKeyRepeatsAfterTheDelay)
{
    struct Step {
        DWORD at;
        size_t repeats;
    };
    const Step steps[] = {{1499, 0}, {1500, 1}, {1520, 0}, {1550, 1}, {1700, 1}, {1720, 0}};
    window.PushKey(SDL_SCANCODE_LEFT, true);
    input->GetKbdInput();
    EXPECT_EQ(Keys(), std::vector<int>{DIK_LEFT});
    for (const Step& s : steps) {
        input->now = s.at;
        input->GetKbdInput();
        EXPECT_EQ(Keys(), std::vector<int>(s.repeats, DIK_LEFT)) << "at " << s.at;
    }
    window.PushKey(SDL_SCANCODE_LEFT, false);
    input->now = 3000;
    input->GetKbdInput();
    EXPECT_TRUE(Keys().empty());
}

TEST_F(Backend, NoRepeatWhenTurnedOff)
{
    bKeyRepeat = false;
    window.PushKey(SDL_SCANCODE_SPACE, true);
    input->GetKbdInput();
    input->now = 5000;
    input->GetKbdInput();
    EXPECT_EQ(Keys(), std::vector<int>{DIK_SPACE});
    window.PushKey(SDL_SCANCODE_SPACE, false);
    input->GetKbdInput();
}

TEST_F(Backend, BackgroundDropsHeldInputAndFocusBringsItBack)
{
    window.PushKey(SDL_SCANCODE_A, true);
    window.PushButton(SDL_BUTTON_LEFT, true);
    input->GetKbdInput();
    input->GetMouseInput();
    ASSERT_EQ(keys[DIK_A], 0x80);
    ASSERT_EQ(MyMouse.rgbButtons[0], 0x80);

    window.PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    input->GetKbdInput();
    input->GetMouseInput();
    EXPECT_EQ(keys[DIK_A], 0);
    EXPECT_EQ(MyMouse.rgbButtons[0], 0);
    input->GetKbdInput();
    EXPECT_EQ(keys[DIK_A], 0);

    window.PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    window.Drain();
    input->GetKbdInput();
    input->GetMouseInput();
    EXPECT_EQ(keys[DIK_A], 0x80) << "still held when the program came back";
    EXPECT_EQ(MyMouse.rgbButtons[0], 0x80);

    window.PushKey(SDL_SCANCODE_A, false);
    window.PushButton(SDL_BUTTON_LEFT, false);
    input->GetKbdInput();
    input->GetMouseInput();
}

TEST_F(Backend, ReleaseIsIdempotentAndLeavesNothingHeld)
{
    window.PushKey(SDL_SCANCODE_Z, true);
    input->GetKbdInput();
    input->Release();
    input->Release();
    input->GetKbdInput();
    EXPECT_EQ(keys[DIK_Z], 0);
    EXPECT_EQ(input->GetAKey(), 0);
    window.PushKey(SDL_SCANCODE_Z, false);
    window.Drain();
}

}  // namespace
