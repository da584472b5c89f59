// A program entered through WinMain: run by CTest with known arguments, it checks that
// the platform's main() passed the command line as Windows does and exits 0 when it did.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int showCmd)
{
    const char expected[] = "\"two words\" plain";
    bool ok = instance == GetModuleHandleA(nullptr) && previous == nullptr &&
              showCmd == SW_SHOWDEFAULT && std::strcmp(cmdLine, expected) == 0 &&
              std::strstr(GetCommandLineA(), expected) != nullptr && GetCommandLineA()[0] == '\\';
    if (!ok)
        std::fprintf(stderr, "lpCmdLine was [%s], the command line [%s]\n", cmdLine,
                     GetCommandLineA());
    return ok ? 0 : 1;
}
