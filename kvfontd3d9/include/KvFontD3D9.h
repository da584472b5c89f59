// KvFontD3D9: text drawn on Direct3D 9 from glyphs rasterised by GDI. One include for a
// program.
#ifndef KVFONTD3D9_KVFONTD3D9_H
#define KVFONTD3D9_KVFONTD3D9_H

#include "kvCFont.h"
#include "kvFont.h"

#endif
