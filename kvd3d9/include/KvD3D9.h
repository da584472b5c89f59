// KvD3D9: the Direct3D 9 backend. One include for a program.
#ifndef KVD3D9_KVD3D9_H
#define KVD3D9_KVD3D9_H

#include "kvBaseGraphD3D.h"
#include "kvD3D.h"
#include "kvrTexture.h"

#endif
