// The connect dialog's address book ("address:port" lines, newest first) and its address and port
// checks.
#pragma once

#include "platform/core/Types.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

using TIPv4 = std::array<BYTE, 4>;

// Exactly four groups of one or more decimal digits, each at most 255, joined by '.', nothing after.
bool ParseDottedAddress(std::string_view text, TIPv4& address);
std::string DottedAddress(const TIPv4& address);
// The dotted form of the text, or of the first IPv4 address its host name resolves to; false when
// neither works.
bool ResolveIPv4(const std::string& text, std::string& dotted);

// A port the recorder can use: digits only, 1 to 65534 (the A/V connection takes the next one).
bool ValidPortText(std::string_view text);

std::string AddressBookEntry(const std::string& address, const std::string& port);
// Splits at the first ':'. A line without one (edited by hand) is all address; hasPort is then false.
void SplitAddressBookEntry(const std::string& line, std::string& address, std::string& port, bool& hasPort);
// Puts the entry on top unless the list holds that exact line; true when it was added.
bool AddAddressBookEntry(std::vector<std::string>& lines, const std::string& entry);

// A missing file is an empty book. Line ends of either platform are read.
std::vector<std::string> ReadAddressBook(const std::string& path);
// Replaces the file; false when it cannot be written.
bool WriteAddressBook(const std::string& path, const std::vector<std::string>& lines);
