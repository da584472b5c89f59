// The two ready-made modal boxes: WMessageBox shows a message with up to four standard
// buttons, WInputBox asks for one line of text. Each builds its dialog, runs it centred
// on the desktop with RunModal and releases it before returning.
#ifndef ZEB_WMESSAGEBOX_H
#define ZEB_WMESSAGEBOX_H

#include <windows.h>

// Button flags, in the order their buttons stand left to right.
#define MB_BUTTON_YES 0x4
#define MB_BUTTON_NO 0x8
#define MB_BUTTON_OK 0x1
#define MB_BUTTON_CANCEL 0x2

// A title or text keeps this many bytes; a longer one is cut at a character boundary.
#define MESSAGE_TEXT_BYTES 2046

// The command of the button that closed the box: 1 OK, 2 Cancel, 3 Yes, 4 No (5 when the
// program is told to exit meanwhile). Flags without a button give one OK button. A title
// of the single byte 1 to 7 stands for that standard caption.
int WMessageBox(const char* title, const char* text, int flags);

// Asks for a line of at most maxLength bytes in the input line's mode, refusing the
// characters of refused; flags choose OK (0x1) and Cancel (0x2), neither giving one OK
// button, and Yes and No are not offered here. Returns 1 (OK, or Enter in the line) or 2
// (Cancel). out receives the text, or initial when the box was cancelled.
// Pre: out holds maxLength + 1 bytes and the initial text.
int WInputBox(const char* title, const char* prompt, const char* initial, int flags, int width,
              int maxLength, char* out, DWORD mode, const char* refused);

#endif
