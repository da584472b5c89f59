// Test helper: the shared log of drawing calls. Graph and text recorders write to one
// log so that a test sees bars, frames and text in the order a view drew them.
#ifndef ZEB_TESTS_DRAWLOG_H
#define ZEB_TESTS_DRAWLOG_H

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

using DrawLog = std::vector<std::string>;

namespace zebtest {

// 0xAARRGGBB, the way palettes are written.
inline std::string Colour(DWORD c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(c));
    return buf;
}

// Textures and views are shown by the names a test gave them, "null", or "?" for a
// stranger.
class PointerNames {
public:
    void Name(const void* p, const std::string& name) { names[p] = name; }
    std::string Of(const void* p) const
    {
        if (!p)
            return "null";
        auto it = names.find(p);
        return it == names.end() ? "?" : it->second;
    }

private:
    std::map<const void*, std::string> names;
};

}  // namespace zebtest

#endif
