// Rasterisation as Direct3D 9 defines it: pixel centres, clearing, blending, the alpha
// and depth tests, culling and the transform pipeline, read back from the back buffer.
#include "d3d9_fixture.h"

#include <d3dx9.h>

namespace {

using RasterTest = D3D9Test;

// The inclusive pixel box whose pixels hold the colour, or {-1,...} when none does.
RECT CoveredBox(const std::vector<DWORD>& pixels, UINT width, UINT height, DWORD color)
{
    RECT box = {-1, -1, -1, -1};
    for (UINT y = 0; y < height; ++y)
        for (UINT x = 0; x < width; ++x)
            if ((pixels[size_t(y) * width + x] & 0xFFFFFF) == (color & 0xFFFFFF)) {
                if (box.left < 0 || LONG(x) < box.left)
                    box.left = LONG(x);
                if (box.top < 0 || LONG(y) < box.top)
                    box.top = LONG(y);
                box.right = std::max(box.right, LONG(x));
                box.bottom = std::max(box.bottom, LONG(y));
            }
    return box;
}

TEST_F(RasterTest, ClearFillsTheViewportOrTheGivenRectangles)
{
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF102030, 1.0f, 0),
              D3D_OK);
    EXPECT_COLOR(0xFF102030, ReadPixel(0, 0));
    EXPECT_COLOR(0xFF102030, ReadPixel(kWidth - 1, kHeight - 1));

    const D3DRECT rect = {10, 20, 30, 25};
    ASSERT_EQ(device->Clear(1, &rect, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    const std::vector<DWORD> pixels = ReadBack();
    const RECT box = CoveredBox(pixels, kWidth, kHeight, 0xFFFF0000);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 20);
    EXPECT_EQ(box.right, 29);
    EXPECT_EQ(box.bottom, 24);

    D3DVIEWPORT9 vp = {40, 50, 20, 10, 0.0f, 1.0f};
    ASSERT_EQ(device->SetViewport(&vp), D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
    const RECT green = CoveredBox(ReadBack(), kWidth, kHeight, 0xFF00FF00);
    EXPECT_EQ(green.left, 40);
    EXPECT_EQ(green.top, 50);
    EXPECT_EQ(green.right, 59);
    EXPECT_EQ(green.bottom, 59);
}

struct EdgeCase {
    float x0, y0, x1, y1;
    RECT covered;  // inclusive pixel box
};

TEST_F(RasterTest, PretransformedQuadsCoverPixelsWhoseCentresTheyContain)
{
    // Direct3D 9 puts pixel centres on integers; a pixel is drawn when its centre is
    // inside, the top and left edges counting as inside.
    const EdgeCase cases[] = {
        {9.5f, 19.5f, 29.5f, 39.5f, {10, 20, 29, 39}},
        {10.0f, 20.0f, 30.0f, 40.0f, {10, 20, 29, 39}},
        {10.2f, 20.6f, 30.4f, 40.6f, {11, 21, 30, 40}},
        {0.0f, 0.0f, 1.0f, 1.0f, {0, 0, 0, 0}},
    };
    for (const EdgeCase& c : cases) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        DrawRect(c.x0, c.y0, c.x1, c.y1, 0xFF00FF00);
        const RECT box = CoveredBox(ReadBack(), kWidth, kHeight, 0xFF00FF00);
        SCOPED_TRACE(testing::Message() << "quad (" << c.x0 << ", " << c.y0 << ") - (" << c.x1
                                        << ", " << c.y1 << ")");
        EXPECT_EQ(box.left, c.covered.left);
        EXPECT_EQ(box.top, c.covered.top);
        EXPECT_EQ(box.right, c.covered.right);
        EXPECT_EQ(box.bottom, c.covered.bottom);
    }
}

struct BlendCase {
    const char* name;
    DWORD src, dest;
    D3DCOLOR under, over, expected;
};

TEST_F(RasterTest, BlendingCombinesAsItsFactorsSay)
{
    const BlendCase cases[] = {
        {"source alpha over", D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 0xFF0000FF, 0x80FF0000,
         0xFF80007F},
        {"additive", D3DBLEND_ONE, D3DBLEND_ONE, 0xFF204060, 0xFF402010, 0xFF606070},
        {"additive saturates", D3DBLEND_ONE, D3DBLEND_ONE, 0xFFC0C0C0, 0xFF808080, 0xFFFFFFFF},
        {"replace", D3DBLEND_ONE, D3DBLEND_ZERO, 0xFF00FF00, 0x40123456, 0xFF123456},
    };
    for (const BlendCase& c : cases) {
        SCOPED_TRACE(c.name);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, c.under, 1.0f, 0);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device->SetRenderState(D3DRS_SRCBLEND, c.src);
        device->SetRenderState(D3DRS_DESTBLEND, c.dest);
        DrawRect(10, 10, 50, 50, c.over);
        EXPECT_COLOR(c.expected, ReadPixel(30, 30));
        EXPECT_COLOR(c.under | 0xFF000000, ReadPixel(60, 60));
    }
}

TEST_F(RasterTest, AlphaTestDropsPixelsFailingTheReference)
{
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAREF, 0x80);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    DrawRect(0, 0, 20, 20, 0x7FFF0000);   // one below the reference: dropped
    DrawRect(20, 0, 40, 20, 0x80FF0000);  // equal: kept
    DrawRect(40, 0, 60, 20, 0xFF00FF00);
    const std::vector<DWORD> pixels = ReadBack();
    EXPECT_COLOR(0xFF000000, Pixel(pixels, 10, 10));
    EXPECT_COLOR(0xFFFF0000, Pixel(pixels, 30, 10));
    EXPECT_COLOR(0xFF00FF00, Pixel(pixels, 50, 10));
}

TEST_F(RasterTest, DepthTestHidesFartherGeometry)
{
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    DrawRect(10, 10, 50, 50, 0xFF0000FF, 0.25f);  // near
    DrawRect(30, 30, 70, 70, 0xFFFF0000, 0.75f);  // far, drawn later
    std::vector<DWORD> pixels = ReadBack();
    EXPECT_COLOR(0xFF0000FF, Pixel(pixels, 40, 40));
    EXPECT_COLOR(0xFFFF0000, Pixel(pixels, 60, 60));

    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    DrawRect(30, 30, 70, 70, 0xFFFF0000, 0.75f);
    EXPECT_COLOR(0xFFFF0000, ReadPixel(40, 40));
}

TEST_F(RasterTest, CullingRemovesCounterClockwiseTrianglesByDefault)
{
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->SetFVF(kRhwColorFvf);
    // Clockwise on screen (y grows downward): front facing, drawn.
    const RhwColorVertex cw[3] = {{10, 10, 0, 1, 0xFFFFFFFF}, {50, 10, 0, 1, 0xFFFFFFFF},
                                  {10, 50, 0, 1, 0xFFFFFFFF}};
    const RhwColorVertex ccw[3] = {{60, 10, 0, 1, 0xFFFFFFFF}, {60, 50, 0, 1, 0xFFFFFFFF},
                                   {100, 10, 0, 1, 0xFFFFFFFF}};
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, cw, sizeof cw[0]);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, ccw, sizeof ccw[0]);
    std::vector<DWORD> pixels = ReadBack();
    EXPECT_COLOR(0xFFFFFFFF, Pixel(pixels, 15, 15));
    EXPECT_COLOR(0xFF000000, Pixel(pixels, 65, 15));

    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, cw, sizeof cw[0]);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, ccw, sizeof ccw[0]);
    pixels = ReadBack();
    EXPECT_COLOR(0xFF000000, Pixel(pixels, 15, 15));
    EXPECT_COLOR(0xFFFFFFFF, Pixel(pixels, 65, 15));
}

TEST_F(RasterTest, TransformedQuadLandsWhereTheMatricesPutIt)
{
    D3DXMATRIX world, view, projection;
    D3DXMatrixIdentity(&world);
    const D3DXVECTOR3 eye(0, 0, -9), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 3, float(kWidth) / kHeight, 0.015625f, 20.0f);
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);

    // A clockwise quad from (-1, -1) to (2, 1) in the plane z = 0.
    const XyzColorVertex quad[4] = {{-1, -1, 0, 0xFF00FF00}, {-1, 1, 0, 0xFF00FF00},
                                    {2, -1, 0, 0xFF00FF00}, {2, 1, 0, 0xFF00FF00}};
    device->SetFVF(kXyzColorFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]), D3D_OK);

    // Where D3DX says the corners go: screen x = (ndc + 1) / 2 * width, y = (1 - ndc) / 2 *
    // height, pixel centres on integers.
    const D3DXMATRIX all = world * view * projection;
    auto screen = [&](float x, float y) {
        D3DXVECTOR3 p(x, y, 0), out;
        D3DXVec3TransformCoord(&out, &p, &all);
        return POINT{LONG((out.x + 1) / 2 * kWidth), LONG((1 - out.y) / 2 * kHeight)};
    };
    const POINT topLeft = screen(-1, 1), bottomRight = screen(2, -1);
    const std::vector<DWORD> pixels = ReadBack();
    EXPECT_COLOR(0xFF00FF00, Pixel(pixels, topLeft.x + 1, topLeft.y + 1));
    EXPECT_COLOR(0xFF00FF00, Pixel(pixels, bottomRight.x - 2, bottomRight.y - 2));
    EXPECT_COLOR(0xFF000000, Pixel(pixels, topLeft.x - 2, topLeft.y - 2));
    EXPECT_COLOR(0xFF000000, Pixel(pixels, bottomRight.x + 2, bottomRight.y + 2));
    // The quad is off centre to the right: the screen's centre column is inside, the
    // mirrored left edge is not.
    EXPECT_COLOR(0xFF00FF00, Pixel(pixels, kWidth / 2, kHeight / 2));
    EXPECT_COLOR(0xFF000000, Pixel(pixels, kWidth - bottomRight.x + 2, kHeight / 2));
}

TEST_F(RasterTest, LightingWithoutLightsLeavesAmbientTimesMaterial)
{
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetTransform(D3DTS_VIEW, &identity);
    device->SetTransform(D3DTS_PROJECTION, &identity);
    D3DMATERIAL9 material = {};
    material.Diffuse = {1, 1, 1, 1};
    material.Ambient = {1, 0.5f, 0, 1};
    device->SetMaterial(&material);
    device->SetRenderState(D3DRS_AMBIENT, 0xFF808080);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    const XyzColorVertex quad[4] = {{-1, -1, 0.5f, 0xFF0000FF}, {-1, 1, 0.5f, 0xFF0000FF},
                                    {1, -1, 0.5f, 0xFF0000FF}, {1, 1, 0.5f, 0xFF0000FF}};
    device->SetFVF(kXyzColorFvf);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]);
    EXPECT_COLOR(0xFF804000, ReadPixel(80, 60));

    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]);
    EXPECT_COLOR(0xFF0000FF, ReadPixel(80, 60));
}

}  // namespace
