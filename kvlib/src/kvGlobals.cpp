// The runtime's window, mode and clock globals, with their values at load.
#include "kvApplication.h"

HINSTANCE hInst = nullptr;
HINSTANCE hKvLib = nullptr;
HWND hWnd = nullptr;
RECT rcWindowClient = {0, 0, 0, 0};
int32_t ScreenX = 640;
int32_t ScreenY = 480;
bool bWindowed = true;
bool bSkinnedApp = false;
bool bSysMouse = false;
bool bMouseVis = true;
bool bNoRealTime = false;
bool bShowFPS = false;
bool bTick = false;
bool bActive = false;
bool bQuit = false;
bool bZebHandle = false;
kvApplication* kvApp = nullptr;
void (*AppPaint)() = nullptr;

float fTime = 0.0f;
float fElapsedTime = 0.0f;
float fAppTime = 0.0f;

namespace {
// The library's own handle, taken when the library is attached to the process.
const bool kAttached = (hKvLib = GetModuleHandleA("KvLib.dll"), true);
}  // namespace
