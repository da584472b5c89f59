// The platform's main(): hands the process arguments to the platform and enters the
// program's WinMain, so a program of the system starts exactly as on Windows. Linked as a
// static library into each program (the way a Windows program gets its CRT start-up).
#include <windows.h>

#include <vexa/platform.h>

#include <cstring>

int main(int argc, char** argv)
{
    vexa::platform::SetProcessArguments(argc, argv);
    // lpCmdLine is the command line without the program's name, as Windows passes it.
    char* line = GetCommandLineA();
    char* rest = line;
    if (*rest == '"') {
        rest = std::strchr(rest + 1, '"');
        rest = rest ? rest + 1 : line + std::strlen(line);
    } else {
        while (*rest && *rest != ' ' && *rest != '\t')
            ++rest;
    }
    while (*rest == ' ' || *rest == '\t')
        ++rest;
    return WinMain(GetModuleHandleA(nullptr), nullptr, rest, SW_SHOWDEFAULT);
}
