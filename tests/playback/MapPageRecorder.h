// A map page of the tests' own: every call it receives is written into its title (and shown in its
// body) as name(arg,arg), joined by ';', each argument percent-encoded byte by byte except letters,
// digits and "-_.~", so the test reads back exactly the texts that arrived.
#pragma once

#include "platform/core/StrUtils.h"

#include <cctype>
#include <string>
#include <vector>

namespace map_tests {

// Without `doMoveCenter` when `withMove` is false.
inline std::string RecorderPage(bool withMove = true) {
    return std::string(R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title></title></head>
<body style="margin:4px;background:#f4f8ff;font:11px monospace"><pre id="log"></pre><script>
var calls = [];
function encode(text) {
    return encodeURIComponent(text).replace(/[!'()*]/g, function (c) {
        return '%' + c.charCodeAt(0).toString(16).toUpperCase();
    });
}
function record(name, args) {
    calls.push(name + '(' + Array.prototype.map.call(args, encode).join(',') + ')');
    document.title = calls.join(';');
    document.getElementById('log').textContent = calls.join('\n');
}
function initialize() { record('initialize', arguments); }
)") + (withMove ? "function doMoveCenter() { record('doMoveCenter', arguments); }\n" : "") +
           "</script></body></html>\n";
}

inline std::string Encode(const std::string& text) {
    std::string out;
    for (const unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~')
            out += static_cast<char>(c);
        else
            out += Format("%%%02X", c);
    }
    return out;
}

// The calls of a title, without the marker calls initialize(markN) that tests add to know when every
// call before has arrived.
inline std::vector<std::string> Calls(const std::string& title) {
    std::vector<std::string> calls;
    for (std::size_t start = 0; start < title.size();) {
        const std::size_t end = std::min(title.find(';', start), title.size());
        const std::string call = title.substr(start, end - start);
        if (!call.empty() && !call.starts_with("initialize(mark")) calls.push_back(call);
        start = end + 1;
    }
    return calls;
}

} // namespace map_tests
