// The program's bitmap resources: BMP files in the folder bitmaps/ of its resources folder
// (FormResourceRoot(), normally ResourceFolder()).
// - The resource named NAME is bitmaps/NAME.bmp; names match without regard to case, as resource
//   names do. A name holding '/', '\' or a NUL names no resource.
// - The resource numbered N (0..65535) is bitmaps/N.bmp, N in decimal without leading zeros; the name
//   "#" followed by decimal digits means that number.
// Every module instance reads the program's own resources.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/core/Types.h"

#include <string>

HARBEK_DECLARE_EXCEPTION(EResNotFound, Exception);

// The file of a bitmap resource; raises EResNotFound ("Resource NAME not found").
std::string FindBitmapResource(HINSTANCE instance, const std::string& name);
std::string FindBitmapResource(HINSTANCE instance, int id);
