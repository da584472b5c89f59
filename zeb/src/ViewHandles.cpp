// Live-view table: handles in event words resolve here.
#include "ViewHandles.h"

#include "WView.h"

#include <unordered_map>
#include <unordered_set>

namespace {
std::unordered_map<DWORD, WView*>& Table()
{
    static std::unordered_map<DWORD, WView*> table;
    return table;
}
std::unordered_set<const WView*>& LiveSet()
{
    static std::unordered_set<const WView*> live;
    return live;
}
DWORD lastHandle = 0;
}  // namespace

namespace zeb {

DWORD RegisterView(WView* view)
{
    auto& table = Table();
    do
        ++lastHandle;
    while (lastHandle == 0 || table.count(lastHandle));
    table.emplace(lastHandle, view);
    LiveSet().insert(view);
    return lastHandle;
}

void UnregisterView(DWORD handle)
{
    auto& table = Table();
    auto it = table.find(handle);
    if (it == table.end())
        return;
    LiveSet().erase(it->second);
    table.erase(it);
}

bool IsLiveView(const WView* view)
{
    return view && LiveSet().count(view);
}

size_t LiveViewCount()
{
    return Table().size();
}

}  // namespace zeb

WView* ViewFromHandle(DWORD handle)
{
    if (handle == 0)
        return nullptr;
    auto& table = Table();
    auto it = table.find(handle);
    return it == table.end() ? nullptr : it->second;
}

void SetEventSource(VlxMessage* event, WView* source)
{
    event->dx = source ? static_cast<int32_t>(source->Handle) : 0;
}

WView* GetEventSource(const VlxMessage* event)
{
    return ViewFromHandle(static_cast<DWORD>(event->dx));
}
