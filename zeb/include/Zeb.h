// Zeb: the GUI framework. One include for a program or library built on it.
#ifndef ZEB_ZEB_H
#define ZEB_ZEB_H

#include <KvLib.h>

#include "CUIStyle.h"
#include "WButton.h"
#include "WCheckBox.h"
#include "WComboBox.h"
#include "WDesktop.h"
#include "WDialog.h"
#include "WGroup.h"
#include "WImageBox.h"
#include "WListBox.h"
#include "WMenu.h"
#include "WMessageBox.h"
#include "WScrollBar.h"
#include "WSlider.h"
#include "WStaticText.h"
#include "WStringList.h"
#include "WText.h"
#include "WView.h"
#include "WViewLoad.h"
#include "kvBaseGraph.h"
#include "zebMain.h"
#include "zebSkin.h"
#include "zebText.h"

#endif
