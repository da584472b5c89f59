// Fuzz target: arbitrary bytes as a dialog source, compiled to a resource file. A refusal
// must be the compiler's Error (or an engine exception from the framework it builds
// with); anything else (another exception, a crash, a sanitizer report, a hang) is a fault.
#include <KvrResource.h>

#include <kvException.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        kvrc::CompileSource(std::string(reinterpret_cast<const char*>(data), size), "fuzz.yaml");
    } catch (const kvrc::Error&) {
    } catch (kvException* e) {
        DeleteException(e);
    }
    return 0;
}
