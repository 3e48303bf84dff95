// Reading back what the saver wrote, for the saver and backup tests.
#pragma once

#include "formats/QelAvFile.h"

#include <string>
#include <vector>

namespace client_tests {

// Every frame of a saved file, in file order.
inline std::vector<QelRecordedFrame> ReadAll(const std::string& path) {
    QelAvFileReader reader(path);
    std::vector<QelRecordedFrame> out;
    QelRecordedFrame f;
    while (reader.Next(f))
        out.push_back(f);
    return out;
}

} // namespace client_tests
