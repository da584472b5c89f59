// The debug log's place. kvFileStream takes engine paths (code page 936 below kvPath),
// while the state folder comes from the environment in UTF-8; the folder is turned into
// an engine path and accepted only when the platform turns it back into the same bytes,
// so a folder name GBK cannot spell is never opened under a mangled name.
#include "DebugLog.h"

#include <KvLib.h>
#include <kvFileStream.h>

#include <vexa/platform.h>

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

namespace {

const char LOG_NAME[] = "debug.txt";

// Makes every missing folder of path (which ends in '/').
bool MakeFolders(const std::string& path)
{
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] != '/')
            continue;
        const std::string part = path.substr(0, i);
        struct stat st;
        if (mkdir(part.c_str(), 0700) != 0 && (stat(part.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)))
            return false;
    }
    return true;
}

// The engine path of a UTF-8 path, empty when code page 936 cannot spell it.
std::string EnginePath(const std::string& utf8)
{
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    if (wideLength <= 0)
        return std::string();
    std::u16string wide(size_t(wideLength), u'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string narrow(size_t(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, narrow.data(), length, nullptr, nullptr);
    narrow.resize(size_t(length - 1));
    if (vexa::platform::HostPath(narrow.c_str()) != utf8)
        return std::string();
    return narrow;
}

// Installs the log at an engine path; false when the file does not open.
bool TryLog(const std::string& enginePath)
{
    kvFileStream* stream = nullptr;
    try {
        stream = new kvFileStream(enginePath.c_str(), "wt", false, "");
    } catch (kvException* e) {
        delete e;
        return false;
    }
    SetDebugOutput(stream, false);
    return true;
}

}  // namespace

std::string DebugLogStateFolder()
{
    const char* state = getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::string(state) + "/vexatessel/";
    const char* home = getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/state/vexatessel/";
    return std::string();
}

std::string OpenDebugLog()
{
    if (TryLog(LOG_NAME))
        return vexa::platform::HostPath((std::string(kvPath) + LOG_NAME).c_str());
    const std::string folder = DebugLogStateFolder();
    const std::string engineFolder = folder.empty() ? std::string() : EnginePath(folder);
    if (!engineFolder.empty() && MakeFolders(folder) && TryLog(engineFolder + LOG_NAME)) {
        Trace("Debug log in %s: the program's folder cannot be written.", engineFolder.c_str());
        return folder + LOG_NAME;
    }
    fprintf(stderr, "VexaTessel: the debug log opens neither beside the program nor in %s; "
                    "the game runs without it.\n",
            folder.empty() ? "a state folder (no HOME)" : folder.c_str());
    return std::string();
}
