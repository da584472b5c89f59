// kvException, NewException and the final handler CatchException.
#include "kvException.h"

#include "kvTrace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

kvException::kvException(const char* text, DWORD errorType) : type(errorType), message{}
{
    ChangeErrorMsg(text);
}

void kvException::ChangeErrorMsg(const char* text)
{
    std::snprintf(message, sizeof message, "%s", text ? text : "");
}

void NewException(const char* message, DWORD type)
{
    kvException* e = new kvException(message, type);
    Trace("New exception thrown. type = %d, arg = %s", int(type), e->message);
    throw e;
}

void NewExceptionf(DWORD type, const char* format, ...)
{
    char message[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    NewException(message, type);
}

void CatchException(kvException* e)
{
    if (!e)
        return;
    Trace(" ");
    Trace("***** Exception caught!!! *****");
    Trace("%s", e->message);
    Trace(" ");
    // Until the window layer's message box takes over, the user reads it on stderr.
    std::fprintf(stderr, "Exception caught!: %s\n", e->message);
    delete e;
}

void DeleteException(kvException* e)
{
    delete e;
}
