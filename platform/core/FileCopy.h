// Copying one regular file, shared by CopyFile and the moves across file systems.
#pragma once

#include <string>

// Copies bytes, permissions and times into a temporary file beside destination and renames it into
// place, so destination is replaced whole or left alone. Without replace an existing destination fails
// with EEXIST. A source that is not a regular file, a destination folder, or a copy of a file onto
// itself fail too. On failure error holds the errno value.
bool CopyRegularFile(const std::string& source, const std::string& destination, bool replace, int& error);
