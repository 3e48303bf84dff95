#include "platform/core/Debug.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

std::mutex gSinkMutex;
DebugSink gSink;

bool TraceToStderr() {
    static const bool enabled = [] {
        const char* v = std::getenv("HARBEK_TRACE");
        return v != nullptr && std::strcmp(v, "1") == 0;
    }();
    return enabled;
}

} // namespace

void OutputDebugString(const char* text) {
    if (text == nullptr)
        return;
    std::lock_guard lock(gSinkMutex);
    if (gSink) {
        gSink(text);
        return;
    }
    if (TraceToStderr()) {
        const std::size_t n = std::strlen(text);
        std::fprintf(stderr, "%s%s", text, (n > 0 && text[n - 1] == '\n') ? "" : "\n");
    }
}

void DebugTrace(const char* where, const std::string& message) {
    std::string line = "( ";
    line += where;
    line += " ) ]";
    line += message;
    OutputDebugString(line.c_str());
}

DebugSink SetDebugSink(DebugSink sink) {
    std::lock_guard lock(gSinkMutex);
    DebugSink previous = std::move(gSink);
    gSink = std::move(sink);
    return previous;
}
