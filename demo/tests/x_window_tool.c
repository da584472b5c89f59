/* x_window_tool: what a window manager would do to a program's window, for the tests that
 * run a program on a real X server without one.
 *
 *   x_window_tool find NAME      exit 0 once a window titled NAME exists (prints its id)
 *   x_window_tool close NAME     sends WM_DELETE_WINDOW, as the title bar's close button
 *   x_window_tool unfocus NAME   moves the keyboard focus away (the program goes to the
 *                                background)
 *   x_window_tool focus NAME     gives the window the keyboard focus again
 *   x_window_tool shot NAME FILE writes the window's pixels as a 24-bit BMP
 *   x_window_tool snap NAME FILE writes what the window shows as a binary PPM picture
 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdio.h>
#include <string.h>

/* The window's contents as a bottom-up 24-bit BMP; 0 on success. */
static int SaveShot(Display* display, Window window, const char* path)
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(display, window, &a))
        return 1;
    XImage* image = XGetImage(display, window, 0, 0, (unsigned)a.width, (unsigned)a.height,
                              AllPlanes, ZPixmap);
    if (!image)
        return 1;
    FILE* out = fopen(path, "wb");
    if (!out) {
        XDestroyImage(image);
        return 1;
    }
    const int row = (a.width * 3 + 3) & ~3;
    const unsigned size = 54u + (unsigned)(row * a.height);
    unsigned char head[54] = {'B', 'M'};
    const unsigned fields[][2] = {{2, size}, {10, 54}, {14, 40}, {18, (unsigned)a.width},
                                  {22, (unsigned)a.height}, {26, 1 | (24u << 16)}};
    for (size_t f = 0; f < sizeof fields / sizeof fields[0]; ++f)
        for (int i = 0; i < 4; ++i)
            head[fields[f][0] + i] = (unsigned char)(fields[f][1] >> (8 * i));
    fwrite(head, 1, sizeof head, out);
    unsigned char line[3 * 4096 + 4];
    for (int y = a.height - 1; y >= 0; --y) {
        memset(line, 0, sizeof line);
        for (int x = 0; x < a.width && x < 4096; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            line[3 * x] = (unsigned char)(p & 0xFF); /* Xvfb 24-bit: 0x00RRGGBB */
            line[3 * x + 1] = (unsigned char)((p >> 8) & 0xFF);
            line[3 * x + 2] = (unsigned char)((p >> 16) & 0xFF);
        }
        fwrite(line, 1, (size_t)row, out);
    }
    fclose(out);
    XDestroyImage(image);
    return 0;
}

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

/* Scales a pixel's channel, selected by its mask, to 0..255. */
static unsigned char Channel(unsigned long pixel, unsigned long mask)
{
    if (!mask)
        return 0;
    int shift = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return (unsigned char)(((pixel >> shift) & mask) * 255 / mask);
}

static int Snap(Display* display, Window window, const char* file)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return 1;
    XImage* image = XGetImage(display, window, 0, 0, (unsigned)attributes.width,
                              (unsigned)attributes.height, AllPlanes, ZPixmap);
    if (!image)
        return 1;
    FILE* out = fopen(file, "wb");
    if (!out) {
        XDestroyImage(image);
        return 1;
    }
    fprintf(out, "P6\n%d %d\n255\n", attributes.width, attributes.height);
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x) {
            unsigned long p = XGetPixel(image, x, y);
            unsigned char rgb[3] = {Channel(p, image->red_mask), Channel(p, image->green_mask),
                                    Channel(p, image->blue_mask)};
            fwrite(rgb, 1, 3, out);
        }
    fclose(out);
    XDestroyImage(image);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        fprintf(stderr, "usage: %s find|close|unfocus|focus NAME, or shot|snap NAME FILE\n", argv[0]);
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
    } else if (strcmp(argv[1], "shot") == 0) {
        if (argc < 4 || SaveShot(display, window, argv[3]) != 0) {
            fprintf(stderr, "x_window_tool: cannot save the window\n");
            XCloseDisplay(display);
            return 1;
        }
    } else if (strcmp(argv[1], "snap") == 0) {
        int failed = argc < 4 || Snap(display, window, argv[3]);
        XCloseDisplay(display);
        return failed;
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
