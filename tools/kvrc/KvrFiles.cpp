// The compiler's files: sources and resource files are read whole, and an output is
// written beside its final place and renamed into it, so that it appears complete or not
// at all. A refusal also removes an older output, so that a build never goes on with
// dialogs the source no longer describes.
#include "KvrResource.h"

#include "KvrText.h"

#include <WText.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <unistd.h>

namespace kvrc {
namespace {

std::string ReadWhole(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        throw Error(path + ": cannot be opened: " + std::strerror(errno));
    std::string bytes;
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, n);
    const bool failed = std::ferror(file);
    std::fclose(file);
    if (failed)
        throw Error(path + ": cannot be read");
    return bytes;
}

void WriteWhole(const std::string& path, const void* data, size_t size)
{
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        throw Error(temporary + ": cannot be created: " + std::strerror(errno));
    const bool written = std::fwrite(data, 1, size, file) == size;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        std::remove(temporary.c_str());
        throw Error(path + ": cannot be written: " + reason);
    }
}

// The views measure their texts while they are built; the writer is installed for one
// piece of work and taken down after it.
class TextWriter {
  public:
    TextWriter() : previous(OutText) { SetOutText(&writer); }
    ~TextWriter() { SetOutText(previous); }
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

  private:
    MeasuringText writer;
    WText* previous;
};

void RemoveOnFailure(const std::string& outputPath, const std::exception_ptr& failure)
{
    std::remove(outputPath.c_str());
    std::rethrow_exception(failure);
}

} // namespace

std::vector<uint8_t> CompileSource(const std::string& text, const std::string& fileName)
{
    TextWriter writer;
    return StoreDialogs(ParseSource(text, fileName));
}

std::string DecompileResource(const std::vector<uint8_t>& bytes, const std::string& fileName)
{
    TextWriter writer;
    return WriteSource(LoadDialogs(bytes, fileName));
}

void CompileFile(const std::string& sourcePath, const std::string& outputPath)
{
    try {
        const std::vector<uint8_t> bytes = CompileSource(ReadWhole(sourcePath), sourcePath);
        WriteWhole(outputPath, bytes.data(), bytes.size());
    } catch (...) {
        RemoveOnFailure(outputPath, std::current_exception());
    }
}

void DecompileFile(const std::string& resourcePath, const std::string& outputPath)
{
    try {
        const std::string bytes = ReadWhole(resourcePath);
        const std::string source =
            DecompileResource(std::vector<uint8_t>(bytes.begin(), bytes.end()), resourcePath);
        WriteWhole(outputPath, source.data(), source.size());
    } catch (...) {
        RemoveOnFailure(outputPath, std::current_exception());
    }
}

} // namespace kvrc
