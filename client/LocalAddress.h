// The client's own IPv4 address, as the network option window shows it.
#pragma once

#include "platform/core/Types.h"

#include <string>

// Four address bytes in network order as "a.b.c.d".
std::string FormatDottedAddress(const BYTE address[4]);
// The first address of the local host name (interfaces other than loopback come first), or empty text
// when the socket library cannot start or the name has no IPv4 address.
std::string FindLocalAddress();
