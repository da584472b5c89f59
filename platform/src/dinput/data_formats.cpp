// The DirectInput identifiers and the predefined data formats, defined once here.
//
// objbase.h comes in first with the declaring DEFINE_GUID: IID_IUnknown belongs to the COM
// source. Only what dinput.h names is defined here.
#include <objbase.h>

#undef DEFINE_GUID
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    extern "C" const GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#include <dinput.h>

#include <array>

namespace {

// Object types of the formats' entries, as DirectInput encodes them.
constexpr DWORD kRelAxis = 0x00000001;
constexpr DWORD kAbsAxis = 0x00000002;
constexpr DWORD kAxis = kRelAxis | kAbsAxis;
constexpr DWORD kPushButton = 0x00000004;
constexpr DWORD kToggleButton = 0x00000008;
constexpr DWORD kButton = kPushButton | kToggleButton;
constexpr DWORD kAnyInstance = 0x00FFFF00;
constexpr DWORD kOptional = 0x80000000;
constexpr DWORD kRelativeAxes = 0x00000002;  // DIDF_RELAXIS
constexpr DWORD Instance(DWORD n)
{
    return n << 8;
}

const GUID kXAxis = {0xA36D02E0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID kYAxis = {0xA36D02E1, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID kZAxis = {0xA36D02E2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID kKey = {0x55728220, 0xD33C, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

template <size_t Buttons>
constexpr std::array<DIOBJECTDATAFORMAT, 3 + Buttons> MouseObjects()
{
    std::array<DIOBJECTDATAFORMAT, 3 + Buttons> objects{};
    objects[0] = {&kXAxis, DIMOFS_X, kAxis | kAnyInstance, 0};
    objects[1] = {&kYAxis, DIMOFS_Y, kAxis | kAnyInstance, 0};
    objects[2] = {&kZAxis, DIMOFS_Z, kAxis | kAnyInstance | kOptional, 0};
    for (size_t i = 0; i < Buttons; ++i) {
        const DWORD optional = i < 2 ? 0 : kOptional;
        objects[3 + i] = {nullptr, DWORD(DIMOFS_BUTTON0 + i), kButton | kAnyInstance | optional,
                          0};
    }
    return objects;
}

constexpr std::array<DIOBJECTDATAFORMAT, 256> KeyboardObjects()
{
    std::array<DIOBJECTDATAFORMAT, 256> objects{};
    for (DWORD i = 0; i < 256; ++i)
        objects[i] = {&kKey, i, kButton | Instance(i) | kOptional, 0};
    return objects;
}

std::array<DIOBJECTDATAFORMAT, 7> mouseObjects = MouseObjects<4>();
std::array<DIOBJECTDATAFORMAT, 11> mouse2Objects = MouseObjects<8>();
std::array<DIOBJECTDATAFORMAT, 256> keyboardObjects = KeyboardObjects();

}  // namespace

extern "C" const DIDATAFORMAT c_dfDIMouse = {
    sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), kRelativeAxes, sizeof(DIMOUSESTATE),
    DWORD(mouseObjects.size()), mouseObjects.data()};
extern "C" const DIDATAFORMAT c_dfDIMouse2 = {
    sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), kRelativeAxes, sizeof(DIMOUSESTATE2),
    DWORD(mouse2Objects.size()), mouse2Objects.data()};
extern "C" const DIDATAFORMAT c_dfDIKeyboard = {
    sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), 0, 256, DWORD(keyboardObjects.size()),
    keyboardObjects.data()};

// Property identifiers: only their addresses matter.
extern "C" const GUID DIPROP_BUFFERSIZE_ID = {0x00000001, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
extern "C" const GUID DIPROP_AXISMODE_ID = {0x00000002, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
