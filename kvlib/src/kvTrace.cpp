// Trace output: the three log slots, line numbering, bufTrace, and closing the logs.
#include "kvTrace.h"

#include "kvMemory.h"
#include "kvStream.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

char bufTrace[300];

namespace {

kvStream* debugOutput = nullptr;
kvStream* memoryOutput = nullptr;
kvStream* netOutput = nullptr;
bool numberLines = false;
int lineCounter = 0;

// Replaces a slot's stream; the previous one (owned by KvLib) is deleted.
void Install(kvStream*& slot, kvStream* stream)
{
    if (slot != stream)
        delete slot;
    slot = stream;
}

void FormatAndTrace(kvStream** slot, bool newline, const char* format, va_list args)
{
    char text[kvlib::kTraceFormatBuffer];
    std::vsnprintf(text, sizeof text, format, args);  // cut at 255 characters
    kvTrace(slot, newline, text);
}

}  // namespace

void kvTrace(kvStream** slot, bool newline, const char* text)
{
    if (!slot)
        return;
    if (!text)
        text = "";
    // Room for the number, a cut text of bufTrace's size and the line end.
    char line[sizeof bufTrace + 16];
    size_t room = sizeof line - 1;  // one byte is kept for the line end
    if (numberLines)
        std::snprintf(line, room, "#%d %s", lineCounter++, text);
    else
        std::snprintf(line, room, "%s", text);
    if (newline)
        std::strcat(line, "\n");
    OutputDebugStringA(line);
    std::snprintf(bufTrace, sizeof bufTrace, "%s", text);
    if (*slot) {
        (*slot)->Write(line, DWORD(std::strlen(line)));
        (*slot)->Flush();
    }
}

void Trace(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatAndTrace(&debugOutput, true, format, args);
    va_end(args);
}

void Tracenl(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatAndTrace(&debugOutput, false, format, args);
    va_end(args);
}

void netTrace(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatAndTrace(&netOutput, true, format, args);
    va_end(args);
}

void kvlib::memTrace(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatAndTrace(&memoryOutput, true, format, args);
    va_end(args);
}

namespace kvlib {
void WriteSystemInformation();  // kvSysInfo.cpp
}

void SetDebugOutput(kvStream* stream, bool numbered)
{
    Install(debugOutput, stream);
    numberLines = numbered;
    kvlib::WriteSystemInformation();
}

void SetMemoryOutput(kvStream* stream)
{
    Install(memoryOutput, stream);
}

void SetNetOutput(kvStream* stream)
{
    Install(netOutput, stream);
}

void kvlib::CloseTraceOutputs()
{
    if (debugOutput) {
        time_t now = std::time(nullptr);
        Trace(" ");
        Tracenl("---------   FINISH  --------- %s", std::ctime(&now));
        Install(debugOutput, nullptr);
    }
    if (memoryOutput) {
        DumpMemoryEntry();
        Install(memoryOutput, nullptr);
    }
    Install(netOutput, nullptr);
}
