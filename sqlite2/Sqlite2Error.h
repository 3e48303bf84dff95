// The error every part of the SQLite 2 file support throws: a damaged file, a bad schema text, a
// statement that cannot run. The C-style calls turn it into an error code and a text.
#pragma once

#include "platform/core/Exceptions.h"

HARBEK_DECLARE_EXCEPTION(ESqlite2Error, Exception);
