// Zeb: the GUI framework. One include for a program or library built on it.
#ifndef ZEB_ZEB_H
#define ZEB_ZEB_H

#include <KvLib.h>

#include "CUIStyle.h"
#include "WText.h"
#include "WViewFwd.h"
#include "kvBaseGraph.h"
#include "zebSkin.h"
#include "zebText.h"

#endif
