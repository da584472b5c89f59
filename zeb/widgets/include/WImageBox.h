// WImageBox: a picture, or a plain colour when it has none. A left press posts command 14
// with the image box as the event's source.
#ifndef ZEB_WIMAGEBOX_H
#define ZEB_WIMAGEBOX_H

#include <WView.h>

class kvResource;

// Command posted when an image box is clicked.
#define VLX_CMD_IMAGE_CLICKED 14

class WImageBox : public WView {
public:
    kvResource* Image;  // not owned; null draws Color
    int32_t Color;      // ARGB

    WImageBox(int x, int y, int width, int height, kvResource* image, int colour, DWORD id);

    void SetImage(kvResource* image) { Image = image; }
    // A colour replaces the picture.
    void SetColor(int colour)
    {
        Image = nullptr;
        Color = colour;
    }
    int GetColor() const { return Color; }

    // The picture is not stored; a loaded image box shows its colour.
    void Load(kvStream* stream) override;
    void Save(kvStream* stream) override;
    void Draw() override;
    void HandleEvent(VlxMessage* event) override;
};

#endif
