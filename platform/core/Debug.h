// The platform's debug output. Trace lines of the system read "( Class::Method ) ]" and a message.
// They reach stderr when HARBEK_TRACE=1 and go nowhere otherwise; tests may capture them.
#pragma once

#include <functional>
#include <string>

void OutputDebugString(const char* text);
inline void OutputDebugString(const std::string& text) { OutputDebugString(text.c_str()); }

// "( where ) ]" + message, through OutputDebugString.
void DebugTrace(const char* where, const std::string& message);

// Replaces the destination of debug output (nullptr restores the default); returns the previous one.
using DebugSink = std::function<void(const std::string&)>;
DebugSink SetDebugSink(DebugSink sink);
