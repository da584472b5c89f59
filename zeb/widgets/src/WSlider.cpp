// WSlider: snapping the thumb to the steps and the notifications. Value v puts the thumb
// at Travel * v / Steps; a thumb dragged to x takes the nearest step.
#include "WSlider.h"

#include "WButton.h"

#include <CUIStyle.h>

#include "clickReport.h"
#include "viewRecord.h"

#include <kvException.h>
#include <kvInput.h>

#include <algorithm>

WSlider::WSlider(WView* target, int x, int y, int width, unsigned short steps, DWORD id)
    : WView(x, y, width, SLIDER_HEIGHT, "", "", id), ThumbX(0),
      Travel(width - SLIDER_THUMB_WIDTH), Value(0), Steps(std::max<int32_t>(1, steps)),
      Target(target), Thumb(nullptr)
{
    Hooks |= HOOK_AFTER_TRANSLATE | HOOK_AFTER_LOAD;
    Type = WTTSlider;
    Thumb = new WDragButton(0, 0, SLIDER_THUMB_WIDTH, SLIDER_HEIGHT);
    AddView(Thumb, 0);
}

void WSlider::AfterLoad()
{
    Travel = (Right - Left) - SLIDER_THUMB_WIDTH;
    Thumb->Reposition(ThumbX, 0);
}

void WSlider::AfterTranslate()
{
    WSlider::AfterLoad();
}

void WSlider::Notify(VlxMessage* event)
{
    SetEventSource(event, this);
    if (Target)
        WSendMessage(Target, event);
    else
        AddEvent(event);
}

void WSlider::HandleEvent(VlxMessage* event)
{
    WView::HandleEvent(event);
    if (event->type != VLX_COMMAND || GetEventSource(event) != Thumb)
        return;
    if (event->x == VLX_CMD_DRAG_MOVE) {
        const int32_t x = std::clamp(MouseX - Thumb->GrabX - Left - GetAbsX(), 0,
                                     std::max(0, Right - Left - SLIDER_THUMB_WIDTH));
        ThumbX = x;
        const int32_t value =
            Travel > 0 ? int32_t(float(x) / float(Travel) * float(Steps) + 0.5f) : 0;
        if (value != Value) {
            Value = std::min(value, Steps);
            ThumbX = int32_t(int64_t(Travel) * Value / Steps);
            Thumb->Reposition(ThumbX, 0);
            Notify(event);
        }
    } else if (event->x == VLX_CMD_DRAG_END) {
        ThumbX = int32_t(int64_t(Travel) * Value / Steps);
        Thumb->Reposition(ThumbX, 0);
        Notify(event);
    } else {
        return;
    }
    ClearEvent(event);
}

void WSlider::Draw()
{
    if (pUIStyle) {
        pUIStyle->SetViewer(this);
        pUIStyle->DrawSlider();
    }
    WView::Draw();
}

void WSlider::Load(kvStream* stream)
{
    WView::Load(stream);
    const int32_t steps = zeb::ReadWord(stream);
    if (steps < 1 || steps > SLIDER_MAX_STEPS)
        NewException("Slider steps are not 1 to 65535.", KVEXCEPTION_GENERAL);
    Steps = steps;
}

void WSlider::Save(kvStream* stream)
{
    WView::Save(stream);
    zeb::WriteWord(stream, uint32_t(Steps));
}
