// The loader: wave files found through one search directory. Names are UTF-16, as the
// interface passes them; they go back to the narrow (code page 936) form every file of
// the system is opened by, through HostPath.
#include "segment.h"

#include <vexa/platform.h>

#include <fstream>
#include <iterator>
#include <string>

namespace vexa::platform::dmusic {

namespace {

const size_t kMaxPath = 260;

std::string NarrowOf(const WCHAR* text)
{
    if (!text)
        return std::string();
    size_t length = 0;
    while (length < kMaxPath && text[length])
        ++length;
    if (length == 0)
        return std::string();
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, int(length), nullptr, 0, nullptr,
                                          nullptr);
    std::string out(size_t(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_ACP, 0, text, int(length), out.data(), bytes, nullptr, nullptr);
    return out;
}

bool IsAbsolute(const std::string& path)
{
    return !path.empty() && (path[0] == '/' || path[0] == '\\');
}

class Loader : public ComObject<IDirectMusicLoader8> {
public:
    Loader() : ComObject(IID_IDirectMusicLoader8) {}

    HRESULT STDMETHODCALLTYPE SetSearchDirectory(REFGUID rguidClass, WCHAR* pwzPath,
                                                 BOOL) override
    {
        if (!pwzPath)
            return E_POINTER;
        if (rguidClass != GUID_DirectMusicAllTypes && rguidClass != CLSID_DirectMusicSegment)
            return E_INVALIDARG;
        directory_ = NarrowOf(pwzPath);
        if (!directory_.empty() && directory_.back() != '/' && directory_.back() != '\\')
            directory_ += '/';
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE LoadObjectFromFile(REFGUID rguidClassID, REFIID iidInterfaceID,
                                                 WCHAR* pwzFilePath, void** ppObject) override
    {
        if (!ppObject || !pwzFilePath)
            return E_POINTER;
        *ppObject = nullptr;
        if (rguidClassID != CLSID_DirectMusicSegment)
            return E_INVALIDARG;
        if (iidInterfaceID != IID_IDirectMusicSegment8 && iidInterfaceID != IID_IUnknown)
            return E_NOINTERFACE;
        const std::string name = NarrowOf(pwzFilePath);
        const std::string path = IsAbsolute(name) ? name : directory_ + name;
        std::ifstream in(HostPath(path.c_str()), std::ios::binary);
        if (name.empty() || !in)
            return DMUS_E_LOADER_FAILEDOPEN;
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
        if (!Segment::ReadsAsWave(bytes))
            return DMUS_E_LOADER_FORMATNOTSUPPORTED;
        *ppObject = static_cast<IDirectMusicSegment8*>(new Segment(std::move(bytes)));
        return S_OK;
    }

private:
    std::string directory_;
};

}  // namespace

IUnknown* NewLoader()
{
    return new Loader;
}

}  // namespace vexa::platform::dmusic
