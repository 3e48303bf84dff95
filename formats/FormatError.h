// Raised by the recorder's wire and file formats when bytes from the network or a file are malformed.
#pragma once

#include "platform/core/Exceptions.h"

HARBEK_DECLARE_EXCEPTION(EQelFormatError, Exception);
