/* x_window_tool: what a window manager would do to a program's window, for the tests that
 * run a program on a real X server without one.
 *
 *   x_window_tool find NAME      exit 0 once a window titled NAME exists (prints its id)
 *   x_window_tool close NAME     sends WM_DELETE_WINDOW, as the title bar's close button
 *   x_window_tool unfocus NAME   moves the keyboard focus away (the program goes to the
 *                                background)
 *   x_window_tool focus NAME     gives the window the keyboard focus again
 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <stdio.h>
#include <string.h>

static Window FindByName(Display* display, Window root, const char* name)
{
    char* title = NULL;
    if (XFetchName(display, root, &title) && title) {
        int same = strcmp(title, name) == 0;
        XFree(title);
        if (same)
            return root;
    }
    Window parent, *children = NULL;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i)
            found = FindByName(display, children[i], name);
        if (children)
            XFree(children);
    }
    return found;
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s find|close|unfocus|focus NAME\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "x_window_tool: cannot open the display\n");
        return 2;
    }
    Window window = FindByName(display, DefaultRootWindow(display), argv[2]);
    if (!window) {
        XCloseDisplay(display);
        return 1;
    }
    if (strcmp(argv[1], "find") == 0) {
        printf("0x%lx\n", (unsigned long)window);
    } else if (strcmp(argv[1], "close") == 0) {
        XEvent ev;
        memset(&ev, 0, sizeof ev);
        ev.xclient.type = ClientMessage;
        ev.xclient.window = window;
        ev.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
        ev.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &ev);
    } else if (strcmp(argv[1], "unfocus") == 0) {
        XSetInputFocus(display, None, RevertToNone, CurrentTime);
    } else if (strcmp(argv[1], "focus") == 0) {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
    } else {
        fprintf(stderr, "x_window_tool: unknown command %s\n", argv[1]);
        XCloseDisplay(display);
        return 2;
    }
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
