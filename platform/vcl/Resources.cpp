#include "platform/vcl/Resources.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Graphics.h"

#include <filesystem>

namespace {

[[noreturn]] void NotFound(const std::string& name) {
    throw EResNotFound("Resource " + name + " not found");
}

} // namespace

std::string FindBitmapResource(HINSTANCE, const std::string& name) {
    if (name.size() > 1 && name[0] == '#') {
        int id = 0;
        bool digits = name.size() <= 6;
        for (std::size_t i = 1; digits && i < name.size(); ++i) {
            digits = name[i] >= '0' && name[i] <= '9';
            id = id * 10 + (name[i] - '0');
        }
        if (digits) return FindBitmapResource(nullptr, id);
    }
    if (name.empty() || name.find_first_of(std::string("/\\\0", 3)) != std::string::npos) NotFound(name);
    const std::string wanted = name + ".bmp";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(FormResourceRoot() + "/bitmaps", ec)) {
        const std::string file = entry.path().filename().string();
        if (SameText(file, wanted) && entry.is_regular_file(ec)) return entry.path().string();
    }
    NotFound(name);
}

std::string FindBitmapResource(HINSTANCE, int id) {
    const std::string number = std::to_string(id);
    if (id < 0 || id > 0xFFFF) NotFound(number);
    const std::string path = FormResourceRoot() + "/bitmaps/" + number + ".bmp";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) NotFound(number);
    return path;
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    LoadFromFile(FindBitmapResource(instance, name));
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
    LoadFromFile(FindBitmapResource(instance, id));
}
