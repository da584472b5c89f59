// KvRuntimeDemo: a window that counts frames under the runtime's own main loop.
//
// Its graphics interface presents nothing; it paces frames to the display's rate, as a
// present with vertical sync would. Every second of active time it traces the frame count
// and the rate; closing the window ends the program through the runtime's shut-down.
#include <KvLib.h>
#include <kvDInput.h>
#include <kvFileStream.h>

namespace {

// Frames are presented at 60 Hz: UpdateScreen waits for the next tick.
class PacedGraph : public kvGraphInterface {
public:
    PacedGraph()
    {
        // {3E0A5D17-6B42-4C8E-A1F9-07D2C64B8E51}
        ClassId = {0x3E0A5D17, 0x6B42, 0x4C8E, {0xA1, 0xF9, 0x07, 0xD2, 0xC6, 0x4B, 0x8E, 0x51}};
        InstallSelf();
    }
    bool TestLost() override { return false; }
    void Init() override { QueryPerformanceCounter(&nextPresent); }
    void Resize(DWORD width, DWORD height) override
    {
        Trace("Demo back buffer resized to %u x %u.", unsigned(width), unsigned(height));
    }
    void ResetForSizing(bool) override {}
    void RestoreGraph() override {}
    void UpdateScreen() override
    {
        LARGE_INTEGER frequency, now;
        QueryPerformanceFrequency(&frequency);
        nextPresent.QuadPart += frequency.QuadPart / 60;
        QueryPerformanceCounter(&now);
        if (now.QuadPart > nextPresent.QuadPart) {
            // Fell behind (a stall, or the program was in the background): start afresh.
            nextPresent = now;
            return;
        }
        Sleep(DWORD((nextPresent.QuadPart - now.QuadPart) * 1000 / frequency.QuadPart));
    }
    void SetView(void*) override {}
    ~PacedGraph() override { Trace("Demo graphics released."); }

private:
    LARGE_INTEGER nextPresent = {};
};

class FrameCounter : public kvApplication {
public:
    void Init() override { Trace("Demo application started."); }
    void MainLoop() override
    {
        ++frames;
        if (fAppTime >= nextReport) {
            Trace("Frame %d: %.1f s of active time, %u frames per second.", frames,
                  double(fAppTime), unsigned(GetFPS()));
            nextReport += 1.0f;
        }
    }
    ~FrameCounter() override { Trace("Demo application ran %d frames.", frames); }

private:
    int frames = 0;
    float nextReport = 1.0f;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    // The log goes beside the program: relative names are taken below kvPath.
    GetComspec(nullptr);
    SetDebugOutput(new kvFileStream("debug.txt", "wt", false, ""), false);
    try {
        kvApplication* app = new FrameCounter;
        new PacedGraph;
        new kvDInput;
        InitKV(instance, app);
        char className[] = "KvRuntimeDemo";
        char caption[] = "KvLib runtime demo";
        kvCreateWindow(className, caption, showCommand, LoadIconA(instance, MAKEINTRESOURCEA(7)),
                       640, 480, KVWIN_WINDOWED | KVWIN_FIXEDSIZE | KVWIN_SYSMOUSE);
    } catch (kvException* e) {
        CatchException(e);
        ReleaseKV();
        return -1;
    }
    kvMain();
    // 0 after a close, -1 after a failure the runtime caught.
    int exitCode = kvlib::LastQuitCode();
    kvDestroyWindow();
    ReleaseKV();
    return exitCode;
}
