// The error every part of the SQLite 2 file support throws: a damaged file, a bad schema text, a
// statement that cannot run. The C-style calls turn it into their error code and text.
#pragma once

#include "platform/core/Exceptions.h"

#include <string>

namespace sqlite2 {

// Result codes of the C-style calls; the numbers are SQLite's own.
enum ErrorCode {
    ErrGeneric = 1,   // SQL error or missing database
    ErrAbort = 4,     // the row callback asked to stop
    ErrNoMem = 7,     // a size beyond what the reader accepts
    ErrReadOnly = 8,  // a statement that would write
    ErrInterrupt = 9, // a statement ran past its work limit
    ErrCorrupt = 11,  // database disk image is malformed
    ErrCantOpen = 14, // unable to open database file
    ErrFormat = 24,   // a file format this reader does not read
    ErrMisuse = 21,   // a call on a closed handle
    ErrNotADb = 26,   // file is encrypted or is not a database
};

} // namespace sqlite2

class ESqlite2Error : public Exception {
public:
    ESqlite2Error(int code, std::string message) : Exception(std::move(message)), Code(code) {}
    explicit ESqlite2Error(std::string message) : ESqlite2Error(sqlite2::ErrGeneric, std::move(message)) {}
    int Code;
};
