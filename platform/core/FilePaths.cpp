#include "platform/core/FilePaths.h"

#include <algorithm>

namespace {

// Index just past the last delimiter, 0 when there is none.
std::size_t NameStart(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsPathDelimiter(path[i - 1])) return i;
    return 0;
}

// Index of the extension's dot within the last component, or npos.
std::size_t ExtensionDot(std::string_view path) {
    const std::size_t start = NameStart(path);
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos || dot < start ? std::string_view::npos : dot;
}

} // namespace

bool IsPathDelimiter(char c) {
    return c == '/' || c == '\\';
}

std::string ExtractFilePath(std::string_view path) {
    return std::string(path.substr(0, NameStart(path)));
}

std::string ExtractFileDir(std::string_view path) {
    std::size_t end = NameStart(path);
    if (end > 1) --end;
    return std::string(path.substr(0, end));
}

std::string ExtractFileName(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

std::string ExtractFileExt(std::string_view path) {
    const std::size_t dot = ExtensionDot(path);
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view extension) {
    const std::size_t dot = ExtensionDot(path);
    std::string out(path.substr(0, dot == std::string_view::npos ? path.size() : dot));
    out += extension;
    return out;
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
    std::string out(path);
    if (!out.empty() && !IsPathDelimiter(out.back())) out += PathDelim;
    return out;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
    std::string out(path);
    if (out.size() > 1 && IsPathDelimiter(out.back())) out.pop_back();
    return out;
}

std::string WinPathToNative(std::string_view path) {
    std::string out(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}
