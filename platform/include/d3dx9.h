// d3dx9.h: the Direct3D 9 extension library (D3DX, version 33), the subset the engine
// uses: matrices and vectors, textures from image files, surfaces saved as BMP, meshes and
// frame hierarchies from .x files.
#ifndef VEXA_PLATFORM_D3DX9_H
#define VEXA_PLATFORM_D3DX9_H

#define D3DX_VERSION 0x0902
#define D3DX_SDK_VERSION 33

#include <d3d9.h>
#include <d3dx9math.h>
#include <d3dx9tex.h>
#include <d3dx9mesh.h>
#include <d3dx9anim.h>

#endif
