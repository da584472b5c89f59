// The game's debug log: "debug.txt" beside the program, or in the player's state folder
// when the program's folder cannot be written (a tree installed for every user).
#ifndef VEXA_DEBUGLOG_H
#define VEXA_DEBUGLOG_H

#include <string>

// $XDG_STATE_HOME/vexatessel/, or ~/.local/state/vexatessel/ when that variable is unset,
// empty or relative. Empty when neither can be found. Ends in '/'. A UTF-8 path.
std::string DebugLogStateFolder();

// Installs the debug log. The log beside the program (below kvPath) comes first; when it
// cannot be opened, the state folder is made and the log goes there; when neither opens,
// the game runs without a log and says so on stderr. Returns the log's file system path,
// empty when there is none. Never throws.
std::string OpenDebugLog();

#endif
