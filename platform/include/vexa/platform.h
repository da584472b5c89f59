// vexa/platform.h: what the platform library offers beyond the Windows interfaces: the
// hand-over of the process arguments from main() and the hooks tests read.
#ifndef VEXA_PLATFORM_PLATFORM_H
#define VEXA_PLATFORM_PLATFORM_H

#include <stdint.h>

#include <string>

namespace vexa::platform {

// Stores the process arguments (UTF-8, as Linux passes them) for GetCommandLineA/W.
// Called by the platform's main() before WinMain; tests may call it to stage a command line.
void SetProcessArguments(int argc, char** argv);

// The text OutputDebugStringA has received, most recent last; bounded to the last
// kDebugOutputKeep bytes so a long run does not grow without end.
constexpr size_t kDebugOutputKeep = 64 * 1024;
std::string DebugOutputText();
void ClearDebugOutput();

// The file system's path of a narrow path of the engine: code page 936 with either
// separator becomes UTF-8 with "/". Every file the system opens goes through it.
std::string HostPath(const char* enginePath);

// The SDL window id behind a window handle (0 for none), so tests can push SDL events
// addressed to a window.
uint32_t SdlWindowIdOf(void* window);

// Moves the performance counter's origin back, so that it reads as on a machine whose
// counter has been running secondsEarlier longer.
void MovePerformanceCounterOrigin(double secondsEarlier);

}  // namespace vexa::platform

#endif
