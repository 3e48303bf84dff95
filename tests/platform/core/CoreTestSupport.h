// Helpers of the core-layer tests: the message a call throws and a string list's lines.
#pragma once

#include "platform/core/Classes.h"
#include "platform/core/Exceptions.h"

#include <string>
#include <vector>

namespace coretest {

// The message of the Exception a call throws, or "<no exception>".
template <typename F>
std::string MessageOf(F&& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.Message;
    }
    return "<no exception>";
}

inline std::vector<std::string> Lines(const TStrings& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list[i]);
    return out;
}

} // namespace coretest
