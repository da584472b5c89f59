// Words of the stored view records: 32-bit little-endian whatever the machine.
#ifndef ZEB_SRC_VIEWRECORD_H
#define ZEB_SRC_VIEWRECORD_H

#include <windows.h>

class kvStream;

namespace zeb {

int32_t ReadWord(kvStream* stream);
void WriteWord(kvStream* stream, uint32_t value);

}  // namespace zeb

#endif
