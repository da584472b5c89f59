// DirectInput 8 through the pump: events pushed into SDL's queue reach the devices'
// state and buffers, and the application's activation governs acquisition.
#include <dinput.h>

#include <test_window.h>

#include <gtest/gtest.h>

namespace {

template <class T>
void ReleaseCom(T*& object)
{
    if (object)
        object->Release();
    object = nullptr;
}

HRESULT SetBufferSize(LPDIRECTINPUTDEVICE8 device, DWORD size)
{
    DIPROPDWORD p = {};
    p.diph.dwSize = sizeof(p);
    p.diph.dwHeaderSize = sizeof(p.diph);
    p.diph.dwHow = DIPH_DEVICE;
    p.dwData = size;
    return device->SetProperty(DIPROP_BUFFERSIZE, &p.diph);
}

// A window with an acquired device on it, as a program sets one up.
class Device : public ::testing::Test {
protected:
    void Open(REFGUID which, LPCDIDATAFORMAT format, DWORD level, DWORD buffer)
    {
        ASSERT_EQ(DirectInput8Create(GetModuleHandleA(nullptr), 0x0800, IID_IDirectInput8A,
                                     reinterpret_cast<void**>(&input), nullptr),
                  DI_OK);
        ASSERT_EQ(input->CreateDevice(which, &device, nullptr), DI_OK);
        ASSERT_EQ(device->SetDataFormat(format), DI_OK);
        ASSERT_EQ(device->SetCooperativeLevel(window.handle, level), DI_OK);
        if (buffer) {
            ASSERT_EQ(SetBufferSize(device, buffer), DI_OK);
        }
        ASSERT_EQ(device->Acquire(), DI_OK);
    }
    void TearDown() override
    {
        ReleaseCom(device);
        ReleaseCom(input);
        // Leave the application active for the next test.
        window.PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
        window.Drain();
    }
    std::vector<DIDEVICEOBJECTDATA> Read(DWORD flags = 0, DWORD max = 64)
    {
        std::vector<DIDEVICEOBJECTDATA> data(max);
        DWORD n = max;
        lastRead = device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), data.data(), &n, flags);
        data.resize(SUCCEEDED(lastRead) ? n : 0);
        return data;
    }

    TestWindow window;
    LPDIRECTINPUT8 input = nullptr;
    LPDIRECTINPUTDEVICE8 device = nullptr;
    HRESULT lastRead = DI_OK;
};

constexpr DWORD kForeground = DISCL_FOREGROUND | DISCL_NONEXCLUSIVE;

TEST(DirectInputCreate, VersionsAndInterfaces)
{
    struct Case {
        DWORD version;
        const IID* iid;
        HRESULT expected;
    };
    const Case cases[] = {
        {0x0800, &IID_IDirectInput8A, DI_OK},
        {0x0800, &IID_IUnknown, DI_OK},
        {0x0800, &IID_IDirectInputDevice8A, DIERR_NOINTERFACE},
        {0x0700, &IID_IDirectInput8A, DIERR_BETADIRECTINPUTVERSION},
        {0x0900, &IID_IDirectInput8A, DIERR_OLDDIRECTINPUTVERSION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << std::hex << c.version);
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(DirectInput8Create(GetModuleHandleA(nullptr), c.version, *c.iid, &out,
                                     nullptr),
                  c.expected);
        EXPECT_EQ(out == nullptr, FAILED(c.expected));
        if (out)
            static_cast<IUnknown*>(out)->Release();
    }
}

TEST(DirectInputCreate, ReferenceCountingAndDevices)
{
    LPDIRECTINPUT8 input = nullptr;
    ASSERT_EQ(DirectInput8Create(nullptr, 0x0800, IID_IDirectInput8A,
                                 reinterpret_cast<void**>(&input), nullptr),
              DI_OK);
    void* same = nullptr;
    EXPECT_EQ(input->QueryInterface(IID_IUnknown, &same), S_OK);
    EXPECT_EQ(same, static_cast<void*>(input));
    EXPECT_EQ(input->QueryInterface(IID_IDirectInputDevice8A, &same), DIERR_NOINTERFACE);
    EXPECT_EQ(same, nullptr);
    EXPECT_EQ(input->AddRef(), 3u);
    EXPECT_EQ(input->Release(), 2u);
    EXPECT_EQ(input->Release(), 1u);

    LPDIRECTINPUTDEVICE8 device = nullptr;
    EXPECT_EQ(input->CreateDevice(IID_IUnknown, &device, nullptr), DIERR_DEVICENOTREG);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(input->GetDeviceStatus(GUID_SysMouse), DI_OK);
    ASSERT_EQ(input->CreateDevice(GUID_SysKeyboard, &device, nullptr), DI_OK);
    // The device keeps DirectInput alive.
    EXPECT_EQ(input->Release(), 1u);
    EXPECT_EQ(device->Release(), 0u);
}

TEST(DirectInputSetup, OrderAndParameterChecks)
{
    TestWindow w;
    LPDIRECTINPUT8 input = nullptr;
    ASSERT_EQ(DirectInput8Create(nullptr, 0x0800, IID_IDirectInput8A,
                                 reinterpret_cast<void**>(&input), nullptr),
              DI_OK);
    LPDIRECTINPUTDEVICE8 keyboard = nullptr;
    ASSERT_EQ(input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);

    EXPECT_EQ(keyboard->Acquire(), DIERR_INVALIDPARAM) << "no data format yet";
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIMouse), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);

    const DWORD badLevels[] = {
        0,
        DISCL_FOREGROUND,
        DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND,
        DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND,
        DISCL_EXCLUSIVE | DISCL_BACKGROUND,
        DISCL_NONEXCLUSIVE | DISCL_BACKGROUND | DISCL_NOWINKEY,
    };
    for (DWORD level : badLevels)
        EXPECT_EQ(keyboard->SetCooperativeLevel(w.handle, level), DIERR_INVALIDPARAM) << level;
    EXPECT_EQ(keyboard->SetCooperativeLevel(nullptr, kForeground), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetCooperativeLevel(w.handle, kForeground | DISCL_NOWINKEY), DI_OK);

    EXPECT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(keyboard->Acquire(), S_FALSE);
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DIERR_ACQUIRED);
    EXPECT_EQ(SetBufferSize(keyboard, 8), DIERR_ACQUIRED);
    DWORD n = 1;
    DIDEVICEOBJECTDATA one;
    EXPECT_EQ(keyboard->GetDeviceData(sizeof(one), &one, &n, 0), DIERR_INVALIDPARAM)
        << "no buffer was asked for";
    BYTE small[16];
    EXPECT_EQ(keyboard->GetDeviceState(sizeof(small), small), DIERR_INVALIDPARAM);

    EXPECT_EQ(keyboard->Unacquire(), DI_OK);
    EXPECT_EQ(keyboard->Unacquire(), S_FALSE);
    BYTE keys[256];
    EXPECT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DIERR_NOTACQUIRED);
    keyboard->Release();
    input->Release();
}

TEST_F(Device, MouseStateAccumulatesMotionAndWheelUntilRead)
{
    Open(GUID_SysMouse, &c_dfDIMouse, kForeground, 0);
    window.PushMotion(15, 12, 5, 2);
    window.PushMotion(12, 9, -3, -3);
    window.PushWheel(2);
    window.PushButton(SDL_BUTTON_RIGHT, true);

    DIMOUSESTATE state = {};
    ASSERT_EQ(device->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 2);
    EXPECT_EQ(state.lY, -1);
    EXPECT_EQ(state.lZ, 240);
    EXPECT_EQ(state.rgbButtons[0], 0);
    EXPECT_EQ(state.rgbButtons[1], 0x80);

    window.PushButton(SDL_BUTTON_RIGHT, false);
    ASSERT_EQ(device->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 0);
    EXPECT_EQ(state.lZ, 0);
    EXPECT_EQ(state.rgbButtons[1], 0);
}

TEST_F(Device, MouseState2CarriesTheSideButtons)
{
    Open(GUID_SysMouse, &c_dfDIMouse2, kForeground, 0);
    window.PushButton(SDL_BUTTON_X2, true);
    DIMOUSESTATE2 state = {};
    EXPECT_EQ(device->GetDeviceState(sizeof(DIMOUSESTATE), &state), DIERR_INVALIDPARAM);
    ASSERT_EQ(device->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.rgbButtons[4], 0x80);
    window.PushButton(SDL_BUTTON_X2, false);
    window.Drain();
}

TEST_F(Device, MouseBufferListsEachChangeInOrder)
{
    Open(GUID_SysMouse, &c_dfDIMouse, kForeground, 16);
    window.PushMotion(20, 10, 4, 0);
    window.PushButton(SDL_BUTTON_LEFT, true);
    window.PushWheel(-1);
    window.PushButton(SDL_BUTTON_LEFT, false);

    const std::vector<DIDEVICEOBJECTDATA> data = Read();
    ASSERT_EQ(data.size(), 4u);
    const DWORD offsets[] = {DIMOFS_X, DIMOFS_BUTTON0, DIMOFS_Z, DIMOFS_BUTTON0};
    const LONG values[] = {4, 0x80, -120, 0};
    for (size_t i = 0; i < data.size(); ++i) {
        EXPECT_EQ(data[i].dwOfs, offsets[i]) << i;
        EXPECT_EQ(LONG(data[i].dwData), values[i]) << i;
        if (i > 0) {
            EXPECT_GT(data[i].dwSequence, data[i - 1].dwSequence);
        }
    }
    EXPECT_TRUE(Read().empty());
}

TEST_F(Device, KeyboardStateFollowsKeysAndStartsFromHeldOnes)
{
    window.PushKey(SDL_SCANCODE_LSHIFT, true);
    window.Drain();
    Open(GUID_SysKeyboard, &c_dfDIKeyboard, kForeground, 0);

    BYTE keys[256];
    ASSERT_EQ(device->GetDeviceState(sizeof(keys), keys), DI_OK);
    EXPECT_EQ(keys[DIK_LSHIFT], 0x80) << "held before acquiring";
    EXPECT_EQ(keys[DIK_A], 0);

    window.PushKey(SDL_SCANCODE_A, true);
    window.PushKey(SDL_SCANCODE_LEFT, true);
    window.PushKey(SDL_SCANCODE_LSHIFT, false);
    ASSERT_EQ(device->GetDeviceState(sizeof(keys), keys), DI_OK);
    EXPECT_EQ(keys[DIK_A], 0x80);
    EXPECT_EQ(keys[DIK_LEFT], 0x80);
    EXPECT_EQ(keys[DIK_LSHIFT], 0);

    window.PushKey(SDL_SCANCODE_A, false);
    window.PushKey(SDL_SCANCODE_LEFT, false);
    ASSERT_EQ(device->GetDeviceState(sizeof(keys), keys), DI_OK);
    EXPECT_EQ(keys[DIK_A], 0);
    EXPECT_EQ(keys[DIK_LEFT], 0);
}

TEST_F(Device, KeyboardBufferPeekFlushAndOverflow)
{
    Open(GUID_SysKeyboard, &c_dfDIKeyboard, kForeground, 3);
    window.PushKey(SDL_SCANCODE_Q, true);
    window.PushKey(SDL_SCANCODE_Q, false);
    window.PushKey(SDL_SCANCODE_ESCAPE, true);

    std::vector<DIDEVICEOBJECTDATA> data = Read(DIGDD_PEEK);
    ASSERT_EQ(data.size(), 3u);
    EXPECT_EQ(lastRead, DI_OK);
    EXPECT_EQ(data[0].dwOfs, DWORD(DIK_Q));
    EXPECT_EQ(data[0].dwData, 0x80u);
    EXPECT_EQ(data[1].dwData, 0u);
    EXPECT_EQ(data[2].dwOfs, DWORD(DIK_ESCAPE));
    EXPECT_EQ(Read(0, 1).size(), 1u) << "peeking kept them";
    EXPECT_EQ(Read().size(), 2u);

    // Five changes into three places: the two oldest go.
    window.PushKey(SDL_SCANCODE_ESCAPE, false);
    window.PushKey(SDL_SCANCODE_W, true);
    window.PushKey(SDL_SCANCODE_W, false);
    window.PushKey(SDL_SCANCODE_E, true);
    window.PushKey(SDL_SCANCODE_E, false);
    data = Read();
    EXPECT_EQ(lastRead, DI_BUFFEROVERFLOW);
    ASSERT_EQ(data.size(), 3u);
    EXPECT_EQ(data[0].dwOfs, DWORD(DIK_W));
    EXPECT_EQ(data[0].dwData, 0u);
    EXPECT_EQ(data[2].dwOfs, DWORD(DIK_E));
    Read();
    EXPECT_EQ(lastRead, DI_OK) << "the overflow is reported once";

    window.PushKey(SDL_SCANCODE_R, true);
    window.PushKey(SDL_SCANCODE_R, false);
    DWORD all = INFINITE;
    EXPECT_EQ(device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), nullptr, &all, 0), DI_OK);
    EXPECT_EQ(all, 2u);
    EXPECT_TRUE(Read().empty());
}

TEST_F(Device, ForegroundDeviceIsLostWithTheApplication)
{
    Open(GUID_SysKeyboard, &c_dfDIKeyboard, kForeground, 8);
    BYTE keys[256];
    window.PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(device->GetDeviceState(sizeof(keys), keys), DIERR_INPUTLOST);
    EXPECT_EQ(device->GetDeviceState(sizeof(keys), keys), DIERR_NOTACQUIRED);
    Read();
    EXPECT_EQ(lastRead, DIERR_NOTACQUIRED);
    EXPECT_EQ(device->Acquire(), DIERR_OTHERAPPHASPRIO);

    window.PushKey(SDL_SCANCODE_A, true);  // typed into another program
    window.PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    window.Drain();
    EXPECT_EQ(device->Acquire(), DI_OK);
    EXPECT_TRUE(Read().empty()) << "nothing from the time in the background";
    window.PushKey(SDL_SCANCODE_A, false);
    window.Drain();
}

TEST_F(Device, BackgroundDeviceKeepsListening)
{
    Open(GUID_SysMouse, &c_dfDIMouse, DISCL_BACKGROUND | DISCL_NONEXCLUSIVE, 0);
    window.PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    window.PushMotion(30, 30, 7, 0);
    DIMOUSESTATE state = {};
    ASSERT_EQ(device->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 7);
}

}  // namespace
