// Trace output: numbered, flushed lines to up to three log streams (debug, memory,
// network) and to the debugger. The streams handed over become KvLib's.
#ifndef KVLIB_KVTRACE_H
#define KVLIB_KVTRACE_H

#include <windows.h>

class kvStream;

// The last text passed to kvTrace, without number or line end.
extern char bufTrace[300];

// Sends one line to the debugger and, when *slot holds a stream, to that stream.
void kvTrace(kvStream** slot, bool newline, const char* text);

void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Tracenl(const char* format, ...) __attribute__((format(printf, 1, 2)));
void netTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Installs the debug log and writes the system-information block to it.
void SetDebugOutput(kvStream* stream, bool numbered);
void SetMemoryOutput(kvStream* stream);
void SetNetOutput(kvStream* stream);

namespace kvlib {

// Traces to the memory slot (the allocation tracker's log).
void memTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Closes the three outputs in order (debug with its finish line, memory after a dump of
// the live allocations, network); each slot is empty afterwards. Run by ReleaseKV.
void CloseTraceOutputs();

// Formatted text of the trace buffers: at most 255 characters.
constexpr size_t kTraceFormatBuffer = 256;

}  // namespace kvlib

#endif
