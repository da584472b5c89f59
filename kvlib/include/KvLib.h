// KvLib: the engine's runtime. One include for a program or library built on it.
#ifndef KVLIB_KVLIB_H
#define KVLIB_KVLIB_H

#include <windows.h>

#include "kvApplication.h"
#include "kvEvent.h"
#include "kvException.h"
#include "kvIME.h"
#include "kvInput.h"
#include "kvMemory.h"
#include "kvResource.h"
#include "kvStream.h"
#include "kvSystem.h"
#include "kvTrace.h"

#endif
