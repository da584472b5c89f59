// CMacUIStyle: the game's texture skin over the GUI framework's default look. Buttons,
// dialogs, input lines, combo boxes, arrow and drag buttons, scroll bars, check buttons,
// menus, the menu bar and group frames are cut from the seven pictures of "GUI\Mac\";
// labels, image and status boxes, sliders, list boxes and check boxes keep the default
// drawing. Texture coordinates below are in 64ths of a picture; where a piece is tiled,
// one repeat covers 64 pixels.
//
// Pre: the device is a kvD3D's (pd3dDevice); the slots hold the device textures of the
// current LoadObjs or are null, and a null slot draws nothing of its pieces.
#ifndef VEXA_MACUISTYLE_H
#define VEXA_MACUISTYLE_H

#include <CUIStyle.h>

#include <d3d9.h>

// The skin's texture slots, in the order the application hands them over.
enum MacSkinSlot {
    MAC_BUTTON,        // "Button.png"
    MAC_DIALOG,        // "Dialog.png"
    MAC_DIALOG_TITLE,  // "DialogTitle.tga"
    MAC_SLAVE_BUTTONS, // "SlaveButtons.tga"
    MAC_COMBO_BOX,     // "ComboBox.png"
    MAC_INPUT_LINE,    // "InputLine.png"
    MAC_MENU,          // "Menu.tga"
    MAC_SLOTS
};

struct QuadVertex {
    float x, y, z, rhw;
    float u, v;
};

// The state row of a button picture: 2 pressed (both button bits), 1 under the pointer,
// 0 otherwise.
int ButtonRow(DWORD state, bool mouseIn);

class CMacUIStyle : public CUIStyle {
public:
    IDirect3DTexture9* textures[MAC_SLOTS];  // not owned
    QuadVertex quad[4];

    CMacUIStyle();

    // Copies the device textures into the slots (null clears them).
    void SetTextures(IDirect3DTexture9* const* list);

    // A screen rectangle textured with (uLeft, vTop) .. (uRight, vBottom), blended by the
    // texture's alpha.
    void DrawQuad(float left, float top, float right, float bottom, float uLeft, float vTop,
                  float uRight, float vBottom, IDirect3DTexture9* texture);
    // The same with the texture turned a quarter, for vertical pieces cut from horizontal
    // artwork: (left, top) takes (uA, vA), (right, top) (uA, vB), (left, bottom) (uB, vA),
    // (right, bottom) (uB, vB).
    void DrawQuadTransposed(float left, float top, float right, float bottom, float uA,
                            float vB, float uB, float vA, IDirect3DTexture9* texture);

    void DrawGroup() override;
    void DrawDialog() override;
    void DrawButton() override;
    void DrawInputLine() override;
    void DrawSlaveButton() override;
    void DrawDragButton() override;
    void DrawVScrollBar() override;
    void DrawComboBox() override;
    void DrawCheckButton() override;
    void DrawMenu() override;
    void DrawMenuBar() override;

private:
    // Draws the four vertices in quad with the quad's states.
    void SubmitQuad(IDirect3DTexture9* texture);
    // A piece of a 64 x 64 picture in 64ths.
    void Piece(float l, float t, float r, float b, float u0, float v0, float u1, float v1,
               MacSkinSlot slot);
    // The caption of the viewer's button in the button's colours at (x, y), centred.
    void ButtonCaption(int x, int y);
    // A piece (u0..u1 across, v0..v1 along) repeated at its own size down the rectangle,
    // or, turned a quarter, across it; the last repeat is cut.
    void TiledPiece(float l, float t, float r, float b, float u0, float v0, float u1, float v1,
                    MacSkinSlot slot, bool vertical);
};

#endif
