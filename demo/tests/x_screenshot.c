/* x_screenshot: writes what an X server's screen shows as a binary PPM picture, so a test
 * can keep the states it drives a program through for a person to look at.
 *
 *   x_screenshot FILE.ppm
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdio.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s FILE.ppm\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "no X display\n");
        return 1;
    }
    Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    XImage* image = XGetImage(display, root, 0, 0, (unsigned)attributes.width,
                              (unsigned)attributes.height, AllPlanes, ZPixmap);
    FILE* out = image ? fopen(argv[1], "wb") : NULL;
    if (!out) {
        fprintf(stderr, "cannot capture the screen into %s\n", argv[1]);
        return 1;
    }
    /* The masks say where each channel lies in a pixel, whatever the visual's order. */
    fprintf(out, "P6\n%d %d\n255\n", attributes.width, attributes.height);
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
            for (int c = 0; c < 3; ++c) {
                unsigned long m = masks[c], v = p & m;
                while (m && !(m & 1)) {
                    m >>= 1;
                    v >>= 1;
                }
                fputc((int)(m ? v * 255 / m : 0), out);
            }
        }
    fclose(out);
    XDestroyImage(image);
    XCloseDisplay(display);
    return 0;
}
