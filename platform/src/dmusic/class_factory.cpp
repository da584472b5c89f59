// CoCreateInstance for the classes the layer implements: the DirectMusic loader and
// performance. Every other class answers REGDB_E_CLASSNOTREG, as an unregistered class
// does on Windows.
#include <dmusici.h>

namespace vexa::platform::dmusic {
IUnknown* NewLoader();
IUnknown* NewPerformance();
}  // namespace vexa::platform::dmusic

WINAPI_EXPORT HRESULT WINAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter,
                                              DWORD dwClsContext, REFIID riid, LPVOID* ppv)
{
    using namespace vexa::platform::dmusic;
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    if (!(dwClsContext & CLSCTX_INPROC))
        return REGDB_E_CLASSNOTREG;
    IUnknown* object = nullptr;
    if (rclsid == CLSID_DirectMusicLoader)
        object = NewLoader();
    else if (rclsid == CLSID_DirectMusicPerformance)
        object = NewPerformance();
    else
        return REGDB_E_CLASSNOTREG;
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}
