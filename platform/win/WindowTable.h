// Internal to the windows layer: the table of live windows.
#pragma once

#include "platform/win/MessageQueue.h"

#include <memory>
#include <string>

namespace msgloop {

struct WindowRec {
    HWND Handle = nullptr;
    std::string ClassName;
    HINSTANCE Instance = nullptr;
    WNDPROC Proc = nullptr;
    // Set for AllocateHWnd windows instead of Proc.
    std::function<void(TMessage&)> Method;
    std::shared_ptr<ThreadQueue> Owner;
    // Class extra bytes; at least one pointer so that word 0 can hold an object.
    std::vector<unsigned char> Extra;
    LONG_PTR UserData = 0;
    bool Destroying = false;
};

std::shared_ptr<WindowRec> FindWindowRec(HWND window);

} // namespace msgloop
