// Test helper: catching the engine's exceptions by message.
#ifndef KVLIB_TESTS_THROWNMESSAGE_H
#define KVLIB_TESTS_THROWNMESSAGE_H

#include <kvException.h>

#include <functional>
#include <string>

// Runs f and returns the message of the engine exception it throws ("" when none).
inline std::string ThrownMessage(const std::function<void()>& f, DWORD* type = nullptr)
{
    try {
        f();
    } catch (kvException* e) {
        std::string message = e->message;
        if (type)
            *type = e->type;
        DeleteException(e);
        return message;
    }
    return "";
}

#endif
