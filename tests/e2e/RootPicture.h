// The whole screen of an X display as a binary PPM picture, and the windows it shows, read over a
// connection of the test's own: what ImageMagick's import of the root window and xdotool's search give,
// without a program started for each look.
#pragma once

#include <string>
#include <vector>

struct _XDisplay;

namespace e2e {

class RootPicture {
public:
    // Throws when the display cannot be opened.
    explicit RootPicture(const std::string& display);
    ~RootPicture();
    RootPicture(const RootPicture&) = delete;
    RootPicture& operator=(const RootPicture&) = delete;

    // P6, maxval 255; throws when the screen cannot be read.
    std::string Ppm();

    struct Shown {
        unsigned long id;
        std::string title; // UTF-8
        int x, y, width, height;
    };
    // The viewable windows with a title, level by level from the root, each level bottom to top.
    std::vector<Shown> Windows();
    // Whether the keyboard's focus lies in the window `id` or one of its children.
    bool HasFocus(unsigned long id);

private:
    _XDisplay* display_;
};

} // namespace e2e
