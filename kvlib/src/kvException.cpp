// kvException, NewException and the final handler CatchException.
#include "kvException.h"

#include "kvApplication.h"
#include "kvResource.h"
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
    // Releasing may throw again (a DestroyObjs that fails); the release still finishes,
    // and the first message is the one the user must see.
    try {
        kvlib::ReleaseObjectsWhenSafe();
    } catch (kvException* again) {
        delete again;
    }
    ShowCursor(TRUE);
    Trace(" ");
    Trace("***** Exception caught!!! *****");
    Trace("%s", e->message);
    Trace(" ");
    MessageBoxA(hWnd, e->message, "Exception caught!", MB_ICONERROR);
    delete e;
    PostQuitMessage(-1);
}

void DeleteException(kvException* e)
{
    delete e;
}
