// OutputDebugStringA and IsDebuggerPresent.
//
// On Windows the text reaches an attached debugger and is otherwise lost. Here it is kept
// in a bounded in-process buffer (tests read it through vexa/platform.h) and written to
// stderr only while a debugger (a tracer, as gdb is) is attached: a program run normally
// keeps its terminal quiet, exactly as on Windows, while its debug log has every line.
#include <windows.h>

#include <vexa/platform.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>

namespace {

std::mutex outputLock;
std::string& Kept()
{
    static std::string kept;
    return kept;
}

}  // namespace

WINAPI_EXPORT BOOL WINAPI IsDebuggerPresent(void)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, 10, "TracerPid:") == 0)
            return std::strtol(line.c_str() + 10, nullptr, 10) != 0 ? TRUE : FALSE;
    }
    return FALSE;
}

WINAPI_EXPORT void WINAPI OutputDebugStringA(LPCSTR lpOutputString)
{
    if (!lpOutputString)
        return;
    static const bool toStderr = IsDebuggerPresent();
    {
        std::lock_guard<std::mutex> guard(outputLock);
        std::string& kept = Kept();
        kept += lpOutputString;
        if (kept.size() > vexa::platform::kDebugOutputKeep)
            kept.erase(0, kept.size() - vexa::platform::kDebugOutputKeep);
    }
    if (toStderr)
        std::fputs(lpOutputString, stderr);
}

namespace vexa::platform {

std::string DebugOutputText()
{
    std::lock_guard<std::mutex> guard(outputLock);
    return Kept();
}

void ClearDebugOutput()
{
    std::lock_guard<std::mutex> guard(outputLock);
    Kept().clear();
}

}  // namespace vexa::platform
