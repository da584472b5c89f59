// Textures: formats and their texels on screen, locking whole and partial rectangles,
// UpdateTexture from system memory, and D3DX loading of image files.
#include "d3d9_fixture.h"

#include <d3dx9.h>

#include <vexa/graphics.h>

#include <stb_image_write.h>

#include <cstdio>
#include <fstream>

namespace {

using TextureTest = D3D9Test;

// Fills level 0 with one 16-bit texel value.
void Fill16(IDirect3DTexture9* texture, WORD texel)
{
    D3DSURFACE_DESC desc;
    texture->GetLevelDesc(0, &desc);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < desc.Height; ++y) {
        WORD* row = reinterpret_cast<WORD*>(static_cast<BYTE*>(locked.pBits) + y * UINT(locked.Pitch));
        for (UINT x = 0; x < desc.Width; ++x)
            row[x] = texel;
    }
    texture->UnlockRect(0);
}

struct TexelCase {
    D3DFORMAT format;
    WORD texel;
    D3DCOLOR onScreen;  // drawn opaque over black
};

TEST_F(TextureTest, SixteenBitTexelsComeOutAsTheirColours)
{
    const TexelCase cases[] = {
        {D3DFMT_A4R4G4B4, 0xFF00, 0xFFFF0000},  // opaque red
        {D3DFMT_A4R4G4B4, 0xF0F0, 0xFF00FF00},
        {D3DFMT_A4R4G4B4, 0xF00F, 0xFF0000FF},
        {D3DFMT_A4R4G4B4, 0xF888, 0xFF888888},
        {D3DFMT_A4R4G4B4, 0x8FFF, 0xFF888888},  // white at 8/15 alpha over black
        {D3DFMT_R5G6B5, 0xF800, 0xFFFF0000},
        {D3DFMT_R5G6B5, 0x07E0, 0xFF00FF00},
        {D3DFMT_A1R5G5B5, 0x801F, 0xFF0000FF},
        {D3DFMT_A1R5G5B5, 0x7FFF, 0xFF000000},  // transparent
    };
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    for (const TexelCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << c.format << " texel 0x" << std::hex
                                        << c.texel);
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(device->CreateTexture(8, 8, 1, 0, c.format, D3DPOOL_MANAGED, &texture, nullptr),
                  D3D_OK);
        Fill16(texture, c.texel);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        DrawTextured(0, 0, 32, 32, texture);
        EXPECT_COLOR_WITHIN(c.onScreen, ReadPixel(16, 16), 3);
        texture->Release();
    }
}

TEST_F(TextureTest, LockRectReportsPitchAndAddressesPartialRectangles)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                    nullptr),
              D3D_OK);
    D3DLOCKED_RECT whole;
    ASSERT_EQ(texture->LockRect(0, &whole, nullptr, 0), D3D_OK);
    EXPECT_EQ(whole.Pitch, 16);
    for (int i = 0; i < 16; ++i)
        static_cast<DWORD*>(whole.pBits)[i] = 0xFF0000FF;  // blue everywhere
    EXPECT_EQ(texture->LockRect(0, &whole, nullptr, 0), D3DERR_INVALIDCALL) << "locked twice";
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);

    // The bottom-right quarter becomes red through a partial lock.
    const RECT quarter = {2, 2, 4, 4};
    D3DLOCKED_RECT piece;
    ASSERT_EQ(texture->LockRect(0, &piece, &quarter, 0), D3D_OK);
    EXPECT_EQ(static_cast<BYTE*>(piece.pBits) - static_cast<BYTE*>(whole.pBits), 2 * 16 + 2 * 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            reinterpret_cast<DWORD*>(static_cast<BYTE*>(piece.pBits) + y * piece.Pitch)[x] =
                0xFFFF0000;
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);
    const RECT outside = {2, 2, 5, 4};
    EXPECT_EQ(texture->LockRect(0, &piece, &outside, 0), D3DERR_INVALIDCALL);

    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    DrawTextured(0, 0, 40, 40, texture);  // each texel 10 x 10 pixels, point sampled
    const std::vector<DWORD> pixels = ReadBack();
    EXPECT_COLOR(0xFF0000FF, Pixel(pixels, 5, 5));
    EXPECT_COLOR(0xFF0000FF, Pixel(pixels, 25, 5));
    EXPECT_COLOR(0xFF0000FF, Pixel(pixels, 15, 25));
    EXPECT_COLOR(0xFFFF0000, Pixel(pixels, 25, 25));
    EXPECT_COLOR(0xFFFF0000, Pixel(pixels, 35, 35));
    texture->Release();
}

TEST_F(TextureTest, DefaultPoolTexturesFillThroughUpdateTexture)
{
    IDirect3DTexture9* staging = nullptr;
    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &staging,
                                    nullptr),
              D3D_OK);
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target,
                                    nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked;
    EXPECT_EQ(target->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL)
        << "a static default-pool texture cannot be locked";
    ASSERT_EQ(staging->LockRect(0, &locked, nullptr, 0), D3D_OK);
    const DWORD texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] =
                texels[y * 2 + x];
    staging->UnlockRect(0);
    ASSERT_EQ(device->UpdateTexture(staging, target), D3D_OK);
    EXPECT_EQ(device->UpdateTexture(target, staging), D3DERR_INVALIDCALL);

    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    DrawTextured(0, 0, 20, 20, target);
    const std::vector<DWORD> pixels = ReadBack();
    EXPECT_COLOR(texels[0], Pixel(pixels, 5, 5));
    EXPECT_COLOR(texels[1], Pixel(pixels, 15, 5));
    EXPECT_COLOR(texels[2], Pixel(pixels, 5, 15));
    EXPECT_COLOR(texels[3], Pixel(pixels, 15, 15));
    staging->Release();
    target->Release();
}

TEST_F(TextureTest, CreateTextureRefusesWhatTheDeviceCannotHold)
{
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(1);
    EXPECT_EQ(device->CreateTexture(0, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(4, 4, 9, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL) << "more levels than a 4 x 4 chain has";
    ASSERT_EQ(device->CreateTexture(8, 4, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 4u);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(texture->GetLevelDesc(3, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 1u);
    EXPECT_EQ(desc.Height, 1u);
    EXPECT_EQ(texture->GetLevelDesc(4, &desc), D3DERR_INVALIDCALL);
    texture->Release();

    // The test hook makes the device a small one: its caps and CreateTexture agree.
    vexa::platform::SetTextureSizeLimit(128);
    D3DCAPS9 caps;
    device->GetDeviceCaps(&caps);
    EXPECT_EQ(caps.MaxTextureWidth, 128u);
    EXPECT_EQ(caps.MaxTextureHeight, 128u);
    EXPECT_EQ(device->CreateTexture(256, 256, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &texture,
                                    nullptr),
              D3DERR_INVALIDCALL);
    vexa::platform::SetTextureSizeLimit(0);
    device->GetDeviceCaps(&caps);
    EXPECT_GE(caps.MaxTextureWidth, 1024u);
}

// ---- image files -------------------------------------------------------------------------

// A 3 x 2 picture: red, green, blue over white, black, magenta.
const unsigned char kRgb[6][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255},
                                  {255, 255, 255}, {0, 0, 0}, {255, 0, 255}};
const D3DCOLOR kArgb[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFFFF00FF};

struct FileCase {
    const char* name;
    D3DXIMAGE_FILEFORMAT format;
    int tolerance;
};

class ImageFileTest : public D3D9Test {
protected:
    std::string Write(const FileCase& c)
    {
        const std::string path = TempPath(c.name);
        switch (c.format) {
        case D3DXIFF_PNG:
            stbi_write_png(path.c_str(), 3, 2, 3, kRgb, 9);
            break;
        case D3DXIFF_TGA:
            stbi_write_tga(path.c_str(), 3, 2, 3, kRgb);
            break;
        case D3DXIFF_JPG:
            stbi_write_jpg(path.c_str(), 3, 2, 3, kRgb, 100);
            break;
        default:
            stbi_write_bmp(path.c_str(), 3, 2, 3, kRgb);
            break;
        }
        written.push_back(path);
        return path;
    }
    void TearDown() override
    {
        for (const std::string& p : written)
            std::remove(p.c_str());
        D3D9Test::TearDown();
    }
    // Reads level 0 texel (x, y) as A8R8G8B8.
    static DWORD Texel(IDirect3DTexture9* texture, int x, int y)
    {
        D3DLOCKED_RECT locked;
        if (FAILED(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY)))
            return 0xDEADBEEF;
        const DWORD texel =
            reinterpret_cast<const DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x];
        texture->UnlockRect(0);
        return texel;
    }
    std::vector<std::string> written;
};

TEST_F(ImageFileTest, PicturesLoadWithTheirPixelsAndSize)
{
    // JPG is lossy even at full quality; its colours only come close.
    const FileCase cases[] = {{"a.png", D3DXIFF_PNG, 0},
                              {"a.tga", D3DXIFF_TGA, 0},
                              {"a.bmp", D3DXIFF_BMP, 0},
                              {"a.jpg", D3DXIFF_JPG, 60}};
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write(c);
        IDirect3DTexture9* texture = nullptr;
        D3DXIMAGE_INFO info = {};
        ASSERT_EQ(D3DXCreateTextureFromFileExA(device, path.c_str(), D3DX_DEFAULT_NONPOW2,
                                               D3DX_DEFAULT_NONPOW2, 1, 0, D3DFMT_A8R8G8B8,
                                               D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT, 0,
                                               &info, nullptr, &texture),
                  D3D_OK);
        EXPECT_EQ(info.Width, 3u);
        EXPECT_EQ(info.Height, 2u);
        EXPECT_EQ(info.ImageFileFormat, c.format);
        D3DSURFACE_DESC desc;
        texture->GetLevelDesc(0, &desc);
        EXPECT_EQ(desc.Width, 3u);
        EXPECT_EQ(desc.Height, 2u);
        EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
        for (int i = 0; i < 6; ++i)
            EXPECT_COLOR_WITHIN(kArgb[i], Texel(texture, i % 3, i / 3), c.tolerance) << "texel " << i;

        // And on screen: 3 x 2 texels stretched over 30 x 20 pixels.
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        DrawTextured(0, 0, 30, 20, texture);
        const std::vector<DWORD> pixels = ReadBack();
        for (int i = 0; i < 6; ++i)
            EXPECT_COLOR_WITHIN(kArgb[i], Pixel(pixels, 5 + 10 * (i % 3), 5 + 10 * (i / 3)),
                                c.tolerance);
        texture->Release();
    }
}

TEST_F(ImageFileTest, DefaultSizesRoundUpToPowersOfTwo)
{
    const std::string path = Write({"b.png", D3DXIFF_PNG, 0});
    IDirect3DTexture9* texture = nullptr;
    // Filter NONE places the picture at the top left; the rest is transparent black.
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device, path.c_str(), 0, 0, 1, 0, D3DFMT_A8R8G8B8,
                                           D3DPOOL_SYSTEMMEM, D3DX_FILTER_NONE, D3DX_DEFAULT, 0,
                                           nullptr, nullptr, &texture),
              D3D_OK);
    D3DSURFACE_DESC desc;
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(desc.Height, 2u);
    EXPECT_EQ(desc.Pool, D3DPOOL_SYSTEMMEM);
    EXPECT_EQ(Texel(texture, 2, 1), kArgb[5]);
    EXPECT_EQ(Texel(texture, 3, 0), 0u);
    texture->Release();

    // D3DXCreateTextureFromFileA: power-of-two size, a full mip chain, the file's format.
    ASSERT_EQ(D3DXCreateTextureFromFileA(device, path.c_str(), &texture), D3D_OK);
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(desc.Height, 2u);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(texture->GetLevelCount(), 3u);
    texture->Release();
}

TEST_F(ImageFileTest, ColourKeyBecomesTransparentBlack)
{
    const std::string path = Write({"c.png", D3DXIFF_PNG, 0});
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device, path.c_str(), D3DX_DEFAULT_NONPOW2,
                                           D3DX_DEFAULT_NONPOW2, 1, 0, D3DFMT_A8R8G8B8,
                                           D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT,
                                           0xFFFF00FF, nullptr, nullptr, &texture),
              D3D_OK);
    EXPECT_EQ(Texel(texture, 2, 1), 0u);
    EXPECT_EQ(Texel(texture, 0, 0), kArgb[0]);
    texture->Release();
}

TEST_F(ImageFileTest, DefaultPoolLoadsAndPathsTakeBackslashes)
{
    const std::string path = Write({"d.tga", D3DXIFF_TGA, 0});
    std::string engineStyle = path;
    for (char& ch : engineStyle)
        if (ch == '/')
            ch = '\\';
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device, engineStyle.c_str(), 0, 0, 1, 0,
                                           D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, D3DX_FILTER_NONE,
                                           D3DX_DEFAULT, 0, nullptr, nullptr, &texture),
              D3D_OK);
    D3DSURFACE_DESC desc;
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Pool, D3DPOOL_DEFAULT);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    DrawTextured(0, 0, 40, 20, texture);
    EXPECT_COLOR(kArgb[1], ReadPixel(15, 5));
    texture->Release();
}

TEST_F(ImageFileTest, BadInputAnswersWithD3DXErrors)
{
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(1);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, TempPath("missing.png").c_str(), &texture),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(texture, nullptr);

    const std::string corrupt = TempPath("corrupt.png");
    written.push_back(corrupt);
    {
        std::ofstream out(corrupt, std::ios::binary);
        out << "\x89PNG\r\n\x1a\n this is not a picture";
    }
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, corrupt.c_str(), &texture), D3DXERR_INVALIDDATA);
    const std::string empty = TempPath("empty.bmp");
    written.push_back(empty);
    { std::ofstream out(empty, std::ios::binary); }
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, empty.c_str(), &texture), D3DXERR_INVALIDDATA);

    EXPECT_EQ(D3DXCreateTextureFromFileA(nullptr, corrupt.c_str(), &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, nullptr, &texture), D3DERR_INVALIDCALL);

    // An absurd requested size is capped at what the device holds (a small device, so
    // the test stays light).
    vexa::platform::SetTextureSizeLimit(64);
    const std::string path = Write({"e.png", D3DXIFF_PNG, 0});
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device, path.c_str(), 1u << 30, 1u << 30, 1, 0,
                                           D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, D3DX_FILTER_NONE,
                                           D3DX_DEFAULT, 0, nullptr, nullptr, &texture),
              D3D_OK);
    D3DSURFACE_DESC desc;
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 64u);
    EXPECT_EQ(desc.Height, 64u);
    texture->Release();
    vexa::platform::SetTextureSizeLimit(0);

    // A plain picture holds no cube map.
    IDirect3DCubeTexture9* cube = nullptr;
    EXPECT_EQ(D3DXCreateCubeTextureFromFileA(device, path.c_str(), &cube), D3DXERR_INVALIDDATA);
    EXPECT_EQ(cube, nullptr);
}

}  // namespace
