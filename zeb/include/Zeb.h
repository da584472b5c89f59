// Zeb: the GUI framework. One include for a program or library built on it.
#ifndef ZEB_ZEB_H
#define ZEB_ZEB_H

#include <KvLib.h>

#include "CUIStyle.h"
#include "WDesktop.h"
#include "WDialog.h"
#include "WGroup.h"
#include "WImageBox.h"
#include "WMenu.h"
#include "WStaticText.h"
#include "WText.h"
#include "WView.h"
#include "kvBaseGraph.h"
#include "zebMain.h"
#include "zebSkin.h"
#include "zebText.h"

#endif
