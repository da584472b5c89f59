// GBK line and character rules shared by the writers.
#include "zebText.h"

#include <cstring>

namespace zeb {

int LineBytes(const char* text)
{
    if (!text)
        return 0;
    int n = 0;
    while (text[n] && text[n] != '\n')
        ++n;
    return n;
}

bool IsDoubleByte(const char* text)
{
    if (!text)
        return false;
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0xA1)
        return false;
    // The trail test also rejects the NUL, so a lead byte at the end stays single.
    return static_cast<unsigned char>(text[1]) >= 0xA1;
}

int CharCount(const char* text, int len)
{
    int count = 0;
    for (int i = 0; i < len; ++count)
        i += (i + 1 < len && IsDoubleByte(text + i)) ? 2 : 1;
    return count;
}

void CopyText(char* out, size_t size, const char* text)
{
    size_t n = 0;
    if (text) {
        while (text[n] && n + 1 < size) {
            const size_t step = IsDoubleByte(text + n) ? 2 : 1;
            if (n + step + 1 > size)
                break;
            n += step;
        }
        std::memcpy(out, text, n);
    }
    out[n] = '\0';
}

}  // namespace zeb
