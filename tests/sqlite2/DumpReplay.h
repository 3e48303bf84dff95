// Test helper: rebuilds a database with the writer from the CREATE TABLE and INSERT statements of a
// .dump text, so that the writer's file can be compared with the original through the reader.
#pragma once

#include "sqlite2/Sqlite2Writer.h"

#include <string>

namespace sqlite2_test {

// Returns the dump text without the statements the writer cannot take (indexes, views, triggers).
std::string ReplayDump(const std::string& dump, sqlite2::Sqlite2Writer& writer);

std::string ReadText(const std::string& path);

} // namespace sqlite2_test
