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

// Textures are shown by the names a test gave them, "null", or "?" for a stranger.
class TextureNames {
public:
    void Name(void* texture, const std::string& name) { names[texture] = name; }
    std::string Of(void* texture) const
    {
        if (!texture)
            return "null";
        auto it = names.find(texture);
        return it == names.end() ? "?" : it->second;
    }

private:
    std::map<void*, std::string> names;
};

}  // namespace zebtest

#endif
