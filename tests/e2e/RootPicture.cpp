#include "tests/e2e/RootPicture.h"

#include <X11/Xatom.h>
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

namespace {

// The window's title as the window manager reads it: _NET_WM_NAME, else WM_NAME.
std::string Title(Display* display, ::Window window) {
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = None;
    int format = 0;
    unsigned long items = 0, left = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 4096, False, utf8, &type, &format, &items, &left,
                           &data) == Success &&
        type == utf8 && format == 8 && data != nullptr)
        title.assign(reinterpret_cast<const char*>(data), items);
    if (data != nullptr) XFree(data);
    if (!title.empty()) return title;
    XTextProperty text{};
    if (XGetWMName(display, window, &text) != 0 && text.value != nullptr) {
        char** list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(display, &text, &list, &count) >= Success && count > 0 && list)
            title = list[0];
        if (list != nullptr) XFreeStringList(list);
        XFree(text.value);
    }
    return title;
}

void Collect(Display* display, ::Window parent, std::vector<RootPicture::Shown>& out, int depth) {
    ::Window root = 0, up = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    if (depth > 32 || XQueryTree(display, parent, &root, &up, &children, &count) == 0) return;
    const std::vector<::Window> level(children, children + count);
    if (children != nullptr) XFree(children);
    for (const ::Window w : level) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(display, w, &a) == 0 || a.map_state != IsViewable) continue;
        std::string title = Title(display, w);
        if (title.empty()) continue;
        int x = 0, y = 0;
        ::Window child = 0;
        if (!XTranslateCoordinates(display, w, root, 0, 0, &x, &y, &child)) continue;
        out.push_back({w, std::move(title), x, y, a.width, a.height});
    }
    for (const ::Window w : level)
        Collect(display, w, out, depth + 1);
}

} // namespace

std::vector<RootPicture::Shown> RootPicture::Windows() {
    std::vector<Shown> out;
    Collect(display_, DefaultRootWindow(display_), out, 0);
    return out;
}

bool RootPicture::HasFocus(unsigned long id) {
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    const ::Window root = DefaultRootWindow(display_);
    for (int depth = 0; depth < 32 && focus != None && focus != PointerRoot && focus != root; ++depth) {
        if (focus == id) return true;
        ::Window top = 0, parent = 0;
        ::Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display_, focus, &top, &parent, &children, &count) == 0) return false;
        if (children != nullptr) XFree(children);
        focus = parent;
    }
    return false;
}

} // namespace e2e
