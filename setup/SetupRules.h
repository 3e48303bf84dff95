// The small rules of the setup windows that need no window: how stored addresses are shown, which keys
// the title and folder fields take, the four address parts as one number, and the colon-to-equals
// rewrite of temp.ini.
#pragma once

#include "platform/core/Types.h"

#include <string>

// An address stored as the decimal text of a 32-bit number whose lowest byte is the first octet, shown
// as its decimal octets from the lowest byte up ("16820416" gives "192.168.0.1"). Signed and unsigned
// texts are both taken; anything else raises EConvertError.
std::string ConfigAddressText(const std::string& value);

// Title fields take letters, digits, '.', '-', '_', space, Enter and Backspace.
bool TitleKeyAllowed(char key);

// Folder names refuse \ / : * ? " < > |
bool FolderKeyRefused(char key);
// The text of the box shown for a refused folder key.
std::string FolderKeyMessage();

// Part 0 in the highest byte, part 3 in the lowest.
DWORD PackAddressParts(BYTE part0, BYTE part1, BYTE part2, BYTE part3);

// Every ':' of the file becomes '=' in place; nothing else changes. False when the file cannot be read
// or written (it is then left as it was); an empty file is left alone.
bool ReplaceColonsInFile(const std::string& path);
