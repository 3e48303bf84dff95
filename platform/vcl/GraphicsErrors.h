// Failures of the graphics layer: unreadable or unsupported pictures, misuse of a graphic, the JPEG
// codec and the printer.
#pragma once

#include "platform/core/Exceptions.h"

HARBEK_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
HARBEK_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
HARBEK_DECLARE_EXCEPTION(EJPEG, EInvalidGraphic);
HARBEK_DECLARE_EXCEPTION(EPrinter, Exception);
