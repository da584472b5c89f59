// The framework's top level: the two run loops, commands, start-up and teardown,
// re-layout after a screen-size change and the splash frame.
#ifndef ZEB_ZEBMAIN_H
#define ZEB_ZEBMAIN_H

#include <windows.h>

#include <kvEvent.h>

class WView;

// Runs the application until exit: creates the device objects, pumps messages, routes
// each frame's event through the desktop and draws it, and releases everything at the
// end. Pre: the window exists and the application's Init installs a desktop.
void RunMain();
// Attaches view to the desktop with the placement flags, gives it alone the events until
// its EndModal accepts one, detaches it (not released) and returns that event's command.
// A loop ended by an exit request returns the exit command 5. The flag is not used.
DWORD RunModal(WView* view, int placement, bool flag);

// Queues *event as command code (the caller's other words are kept); code 5 also asks
// the program to exit.
void AddCommand(VlxMessage* event, int code);
// True when no mouse button is held.
bool WaitForIdle();

// Fills the standard captions in the language (0 Chinese, 1 English), installs the
// default palette and style. Throws for another language.
void InitZeb(DWORD language);
// Deletes the style, the text writer, the desktop (when no one else holds it) and the IME
// object.
void FreeZeb();
// Re-places the whole tree for the current screen size, once the framework runs.
void ResizeZeb();
// Draws one frame with text framed in the middle of the screen, outside any loop.
void DrawSplash(const char* text);

#endif
