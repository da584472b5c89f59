// GetCommandLineA/W, CommandLineToArgvW, GetModuleHandleA, GetModuleFileNameA, LocalFree.
//
// The command line is built from the real argv (handed over by the platform's main(), or
// read from /proc/self/cmdline when a program has its own main, as the test programs do).
// Argument 0 is the full path of the running executable in the engine's form, with
// backslashes, the way Windows starts a program by its path; the other arguments are
// quoted so that CommandLineToArgvW gives them back unchanged. Text is code page 936 in
// the narrow line and UTF-16 in the wide one; the host's arguments arrive as UTF-8.
#include <windows.h>

#include <vexa/platform.h>

#include "code_page.h"

#include <link.h>
#include <unistd.h>

#include <cctype>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

namespace {

std::mutex lineLock;
bool haveLine = false;
std::string ansiLine;
std::u16string wideLine;

std::string ExecutablePathUtf8()
{
    std::vector<char> buf(4096);
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0)
        return {};
    return std::string(buf.data(), size_t(n));
}

std::string EngineForm(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// Quotes one argument so that the command-line splitter returns it unchanged.
std::string QuoteArgument(const std::string& arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"')
            out.append(backslashes * 2 + 1, '\\');
        else
            out.append(backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    out += '"';
    return out;
}

void BuildLine(const std::vector<std::string>& utf8Args)
{
    std::string exe = EngineForm(ExecutablePathUtf8());
    std::string line = exe.find_first_of(" \t") == std::string::npos ? exe : "\"" + exe + "\"";
    for (size_t i = 1; i < utf8Args.size(); ++i)
        line += " " + QuoteArgument(utf8Args[i]);
    wideLine = vexa::platform::Utf8ToUtf16(line);
    ansiLine = vexa::platform::Utf8ToAnsi(line);
    haveLine = true;
}

void EnsureLine()
{
    if (haveLine)
        return;
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\0', start);
        if (end == std::string::npos)
            end = all.size();
        args.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    BuildLine(args);
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

namespace vexa::platform {

void SetProcessArguments(int argc, char** argv)
{
    std::lock_guard<std::mutex> guard(lineLock);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i)
        args.emplace_back(argv[i] ? argv[i] : "");
    BuildLine(args);
}

}  // namespace vexa::platform

WINAPI_EXPORT LPSTR WINAPI GetCommandLineA(void)
{
    std::lock_guard<std::mutex> guard(lineLock);
    EnsureLine();
    return ansiLine.data();
}

WINAPI_EXPORT LPWSTR WINAPI GetCommandLineW(void)
{
    std::lock_guard<std::mutex> guard(lineLock);
    EnsureLine();
    return wideLine.data();
}

namespace {
// A loaded library of the process: "KvLib" and "KvLib.dll" name libKvLib.so. As on
// Windows, its module handle is its load address.
struct LibraryMatch {
    std::string wanted;  // lower case, without directory and ".dll"
    HMODULE handle = nullptr;
    std::string path;
};

std::string LowerModuleName(std::string name)
{
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    for (char& c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0)
        name.resize(name.size() - 4);
    return name;
}

int VisitLibrary(dl_phdr_info* info, size_t, void* data)
{
    auto* match = static_cast<LibraryMatch*>(data);
    std::string file = LowerModuleName(info->dlpi_name ? info->dlpi_name : "");
    bool hit = match->handle ? reinterpret_cast<uintptr_t>(match->handle) == info->dlpi_addr
                             : (file == "lib" + match->wanted + ".so" || file == match->wanted);
    if (!hit || info->dlpi_addr == 0)
        return 0;
    match->handle = reinterpret_cast<HMODULE>(info->dlpi_addr);
    match->path = info->dlpi_name;
    return 1;
}
}  // namespace

WINAPI_EXPORT HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName)
{
    // The program's own module has a fixed handle; its value is never dereferenced.
    static HINSTANCE__ programModule{};
    if (!lpModuleName)
        return &programModule;
    LibraryMatch match;
    match.wanted = LowerModuleName(lpModuleName);
    dl_iterate_phdr(VisitLibrary, &match);
    if (!match.handle)
        SetLastError(ERROR_MOD_NOT_FOUND);
    return match.handle;
}

WINAPI_EXPORT DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize)
{
    std::string hostPath;
    if (hModule && hModule != GetModuleHandleA(nullptr)) {
        LibraryMatch match;
        match.handle = hModule;
        if (!dl_iterate_phdr(VisitLibrary, &match)) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return 0;
        }
        hostPath = match.path;
    } else {
        hostPath = ExecutablePathUtf8();
    }
    std::string path = vexa::platform::Utf8ToAnsi(EngineForm(hostPath));
    if (nSize == 0 || !lpFilename) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() + 1 > nSize) {
        // Truncated and terminated, returning nSize, as Windows does.
        std::memcpy(lpFilename, path.data(), nSize - 1);
        lpFilename[nSize - 1] = 0;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    std::memcpy(lpFilename, path.c_str(), path.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return DWORD(path.size());
}

WINAPI_EXPORT HLOCAL WINAPI LocalFree(HLOCAL hMem)
{
    std::free(hMem);
    return nullptr;
}

WINAPI_EXPORT LPWSTR* WINAPI CommandLineToArgvW(LPCWSTR lpCmdLine, int* pNumArgs)
{
    if (!pNumArgs) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::vector<std::u16string> args;
    if (!lpCmdLine || !*lpCmdLine) {
        // An empty line stands for the program itself.
        args.push_back(vexa::platform::Utf8ToUtf16(EngineForm(ExecutablePathUtf8())));
    } else {
        const char16_t* p = lpCmdLine;
        // Argument 0 is a file name: quotes group, backslashes are plain characters.
        std::u16string first;
        if (*p == u'"') {
            ++p;
            while (*p && *p != u'"')
                first += *p++;
            if (*p == u'"')
                ++p;
        } else {
            while (*p && !IsBlank(*p))
                first += *p++;
        }
        args.push_back(first);
        for (;;) {
            while (IsBlank(*p))
                ++p;
            if (!*p)
                break;
            std::u16string arg;
            bool quoted = false;
            while (*p && (quoted || !IsBlank(*p))) {
                if (*p == u'\\') {
                    size_t n = 0;
                    while (*p == u'\\') {
                        ++n;
                        ++p;
                    }
                    if (*p == u'"') {
                        arg.append(n / 2, u'\\');
                        if (n % 2) {
                            arg += u'"';
                            ++p;
                        }
                    } else {
                        arg.append(n, u'\\');
                    }
                } else if (*p == u'"') {
                    if (quoted && p[1] == u'"') {
                        arg += u'"';  // a doubled quote inside quotes is one quote
                        p += 2;
                    } else {
                        quoted = !quoted;
                        ++p;
                    }
                } else {
                    arg += *p++;
                }
            }
            args.push_back(arg);
        }
    }
    // One block: the pointer table (with a closing null) followed by the strings.
    size_t bytes = (args.size() + 1) * sizeof(LPWSTR);
    for (const auto& a : args)
        bytes += (a.size() + 1) * sizeof(WCHAR);
    auto* block = static_cast<unsigned char*>(std::malloc(bytes));
    if (!block) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto** table = reinterpret_cast<LPWSTR*>(block);
    auto* text = reinterpret_cast<WCHAR*>(block + (args.size() + 1) * sizeof(LPWSTR));
    for (size_t i = 0; i < args.size(); ++i) {
        table[i] = text;
        std::memcpy(text, args[i].c_str(), (args[i].size() + 1) * sizeof(WCHAR));
        text += args[i].size() + 1;
    }
    table[args.size()] = nullptr;
    *pNumArgs = int(args.size());
    return table;
}
