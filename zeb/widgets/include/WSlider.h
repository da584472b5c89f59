// WSlider: a horizontal value picker of Steps + 1 positions with a 10 x 20 thumb. While
// the thumb is dragged the slider reports VLX_CMD_DRAG_MOVE each time the value changes,
// and VLX_CMD_DRAG_END on release, with itself as source: to its target at once, or to
// the queue when it has none.
#ifndef ZEB_WSLIDER_H
#define ZEB_WSLIDER_H

#include <WView.h>

class WDragButton;

#define SLIDER_HEIGHT 20
#define SLIDER_THUMB_WIDTH 10
// Steps a slider may have; a stored slider outside this range is refused.
#define SLIDER_MAX_STEPS 65535

class WSlider : public WView {
public:
    int32_t ThumbX;  // pixels from the left end
    int32_t Travel;  // width - thumb width
    int32_t Value;   // 0 to Steps
    int32_t Steps;   // at least 1
    WView* Target;   // not owned; null: notifications go to the queue
    WDragButton* Thumb;

    // Starts at value 0; a steps count of 0 is taken as 1.
    WSlider(WView* target, int x, int y, int width, unsigned short steps, DWORD id);

    // Travel from the placed width; the thumb goes back to ThumbX.
    void AfterLoad() override;
    void AfterTranslate() override;
    void HandleEvent(VlxMessage* event) override;
    void Draw() override;
    void Load(kvStream* stream) override;
    void Save(kvStream* stream) override;

private:
    void Notify(VlxMessage* event);
};

#endif
