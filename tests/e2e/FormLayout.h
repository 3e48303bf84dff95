// Where the controls of a window lie, read from its form definition (resources/forms), so that a road
// clicks a control by name instead of by a number copied from a screenshot.
#pragma once

#include "tests/e2e/Screen.h"

#include <map>
#include <string>

namespace e2e {

class FormLayout {
public:
    // The form definition resources/forms/<file>.
    explicit FormLayout(const std::string& file);
    // The control's bounds in the form's client area (its parents' places added); a skin control's size
    // is its strip's frame size in the built skins. Throws for a name the definition does not hold.
    Box Bounds(const std::string& control) const;

    // The same for a window laid out again at run time for its content, whose controls below it keep
    // their distance to the client area's bottom edge: the box within a client area this high.
    Box BoundsFromBottom(const std::string& control, int clientHeight) const;
    // The place of a menu item among the shown items of its menu (lines left out), as the keyboard
    // walks the menu.
    int MenuIndex(const std::string& item) const;

private:
    std::string file_;
    std::map<std::string, Box> bounds_;
    std::map<std::string, int> menuIndex_;
    int clientHeight_ = 0;
};

} // namespace e2e
