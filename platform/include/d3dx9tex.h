// d3dx9tex.h: textures from image files and surfaces saved to files, the D3DX subset the
// engine uses. Reads BMP, JPG, TGA and PNG; writes BMP. Paths take either separator.
#ifndef VEXA_PLATFORM_D3DX9TEX_H
#define VEXA_PLATFORM_D3DX9TEX_H

#include <d3d9.h>

#include <float.h>

#define D3DX_DEFAULT ((UINT)-1)
#define D3DX_DEFAULT_NONPOW2 ((UINT)-2)
#define D3DX_DEFAULT_FLOAT FLT_MAX
#define D3DX_FROM_FILE ((UINT)-3)
#define D3DFMT_FROM_FILE ((D3DFORMAT)-3)

#define D3DX_FILTER_NONE (1 << 0)
#define D3DX_FILTER_POINT (2 << 0)
#define D3DX_FILTER_LINEAR (3 << 0)
#define D3DX_FILTER_TRIANGLE (4 << 0)
#define D3DX_FILTER_BOX (5 << 0)
#define D3DX_FILTER_MIRROR_U (1 << 16)
#define D3DX_FILTER_MIRROR_V (2 << 16)
#define D3DX_FILTER_MIRROR (7 << 16)
#define D3DX_FILTER_DITHER (1 << 19)

#define _FACDD 0x876
#define MAKE_DDHRESULT(code) MAKE_HRESULT(1, _FACDD, code)
#define D3DXERR_CANNOTMODIFYINDEXBUFFER MAKE_DDHRESULT(2900)
#define D3DXERR_INVALIDMESH MAKE_DDHRESULT(2901)
#define D3DXERR_CANNOTATTRSORT MAKE_DDHRESULT(2902)
#define D3DXERR_SKINNINGNOTSUPPORTED MAKE_DDHRESULT(2903)
#define D3DXERR_TOOMANYINFLUENCES MAKE_DDHRESULT(2904)
#define D3DXERR_INVALIDDATA MAKE_DDHRESULT(2905)
#define D3DXERR_LOADEDMESHHASNODATA MAKE_DDHRESULT(2906)
#define D3DXERR_DUPLICATENAMEDFRAGMENT MAKE_DDHRESULT(2907)
#define D3DXERR_CANNOTREMOVELASTITEM MAKE_DDHRESULT(2908)

typedef enum _D3DXIMAGE_FILEFORMAT {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_PPM = 5,
    D3DXIFF_DIB = 6,
    D3DXIFF_HDR = 7,
    D3DXIFF_PFM = 8,
    D3DXIFF_FORCE_DWORD = 0x7fffffff
} D3DXIMAGE_FILEFORMAT;

typedef struct _D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
} D3DXIMAGE_INFO;

WINAPI_EXPORT HRESULT WINAPI D3DXGetImageInfoFromFileA(LPCSTR pSrcFile, D3DXIMAGE_INFO* pSrcInfo);

// Width/Height: D3DX_DEFAULT_NONPOW2 (or D3DX_FROM_FILE) keeps the file's size; 0 and
// D3DX_DEFAULT round it up to powers of two. A non-zero ColorKey makes matching pixels
// (compared as opaque A8R8G8B8) transparent black.
WINAPI_EXPORT HRESULT WINAPI D3DXCreateTextureFromFileExA(
    LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile, UINT Width, UINT Height, UINT MipLevels,
    DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, DWORD Filter, DWORD MipFilter,
    D3DCOLOR ColorKey, D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
    LPDIRECT3DTEXTURE9* ppTexture);
WINAPI_EXPORT HRESULT WINAPI D3DXCreateTextureFromFileA(LPDIRECT3DDEVICE9 pDevice,
                                                        LPCSTR pSrcFile,
                                                        LPDIRECT3DTEXTURE9* ppTexture);
WINAPI_EXPORT HRESULT WINAPI D3DXCreateCubeTextureFromFileA(LPDIRECT3DDEVICE9 pDevice,
                                                            LPCSTR pSrcFile,
                                                            LPDIRECT3DCUBETEXTURE9* ppCubeTexture);

// Only D3DXIFF_BMP is written; other formats answer D3DERR_INVALIDCALL.
WINAPI_EXPORT HRESULT WINAPI D3DXSaveSurfaceToFileA(LPCSTR pDestFile,
                                                    D3DXIMAGE_FILEFORMAT DestFormat,
                                                    LPDIRECT3DSURFACE9 pSrcSurface,
                                                    const PALETTEENTRY* pSrcPalette,
                                                    const RECT* pSrcRect);

#define D3DXCreateTextureFromFile D3DXCreateTextureFromFileA
#define D3DXCreateTextureFromFileEx D3DXCreateTextureFromFileExA
#define D3DXCreateCubeTextureFromFile D3DXCreateCubeTextureFromFileA
#define D3DXSaveSurfaceToFile D3DXSaveSurfaceToFileA
#define D3DXGetImageInfoFromFile D3DXGetImageInfoFromFileA

#endif
