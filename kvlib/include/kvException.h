// kvException: the engine's one error convention. A failing operation calls NewException,
// which traces the message and throws a heap-allocated kvException by pointer; the main
// loops catch it and hand it to CatchException, which ends the program.
#ifndef KVLIB_KVEXCEPTION_H
#define KVLIB_KVEXCEPTION_H

#include <windows.h>

// Error classes carried in kvException::type.
#define KVEXCEPTION_GENERAL 0
#define KVEXCEPTION_DATAFILE 1

class kvException {
public:
    DWORD type;
    char message[512];

    // Messages longer than 511 characters are cut to fit.
    kvException(const char* message, DWORD type);

    void ChangeErrorMsg(const char* message);
};

// Allocates a kvException, traces "New exception thrown. ..." and throws the pointer.
[[noreturn]] void NewException(const char* message, DWORD type);

// Formats the message with printf rules (cut to 511 characters), then as NewException.
[[noreturn]] void NewExceptionf(DWORD type, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// The final handler of the main loops: traces the message, reports it and deletes e.
void CatchException(kvException* e);

void DeleteException(kvException* e);

#endif
