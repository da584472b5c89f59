// CoInitialize, CoInitializeEx and CoUninitialize: COM here is only the interfaces'
// layout (IUnknown), so start-up is a counter that answers as Windows does.
#define INITGUID
#include <objbase.h>

#include <atomic>

namespace {
std::atomic<int> initCount{0};
} // namespace

WINAPI_EXPORT HRESULT WINAPI CoInitializeEx(LPVOID, DWORD)
{
    return initCount.fetch_add(1) == 0 ? S_OK : S_FALSE;
}

WINAPI_EXPORT HRESULT WINAPI CoInitialize(LPVOID pvReserved)
{
    return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

WINAPI_EXPORT void WINAPI CoUninitialize(void)
{
    int count = initCount.load();
    while (count > 0 && !initCount.compare_exchange_weak(count, count - 1)) {
    }
}
