#include "tests/e2e/RootPicture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <stdexcept>

namespace e2e {

namespace {

// Xlib's own handler ends the process on any error; a failed read is told by its result instead.
int IgnoreError(Display*, XErrorEvent*) {
    return 0;
}

// The 8 bits of a channel of the pixel, from the visual's mask of it.
unsigned Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0)
        ++shift;
    const unsigned long max = mask >> shift;
    return static_cast<unsigned>(((pixel & mask) >> shift) * 255 / max);
}

} // namespace

RootPicture::RootPicture(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
    if (display_ == nullptr) throw std::runtime_error("cannot open the display " + display);
    XSetErrorHandler(IgnoreError);
}

RootPicture::~RootPicture() {
    XCloseDisplay(display_);
}

std::string RootPicture::Ppm() {
    const Window root = DefaultRootWindow(display_);
    XWindowAttributes a{};
    if (XGetWindowAttributes(display_, root, &a) == 0) throw std::runtime_error("the root window is gone");
    const auto destroy = [](XImage* i) { XDestroyImage(i); };
    const std::unique_ptr<XImage, decltype(destroy)> image(
        XGetImage(display_, root, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height),
                  AllPlanes, ZPixmap),
        destroy);
    if (!image) throw std::runtime_error("the screen cannot be read");
    std::string ppm = "P6\n" + std::to_string(a.width) + " " + std::to_string(a.height) + "\n255\n";
    ppm.reserve(ppm.size() + static_cast<std::size_t>(a.width) * static_cast<std::size_t>(a.height) * 3);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const unsigned long pixel = XGetPixel(image.get(), x, y);
            ppm += static_cast<char>(Channel(pixel, image->red_mask));
            ppm += static_cast<char>(Channel(pixel, image->green_mask));
            ppm += static_cast<char>(Channel(pixel, image->blue_mask));
        }
    return ppm;
}

} // namespace e2e
