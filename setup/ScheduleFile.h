// schedule.dat: a 4-byte header the editor never reads, then 8 rows (Monday .. Sunday, holiday) of 24
// hourly record modes 0..5, one byte each. The editor creates a missing file as the single byte 2; a
// save writes only the 192 mode bytes, so the header and anything after them stay as they were.
#pragma once

#include "platform/core/Exceptions.h"

#include <array>
#include <string>
#include <string_view>

HARBEK_DECLARE_EXCEPTION(EScheduleFileError, Exception);

inline constexpr int kScheduleRows = 8;
inline constexpr int kScheduleHours = 24;
inline constexpr std::size_t kScheduleHeaderSize = 4;
inline constexpr std::size_t kScheduleFileSize = kScheduleHeaderSize + kScheduleRows * kScheduleHours;
inline constexpr int kMaxRecordMode = 5;

// [row][hour], modes 0..5.
using ScheduleModes = std::array<std::array<int, kScheduleHours>, kScheduleRows>;

// Every hour in mode 1: what the editor shows for a file it has just created.
ScheduleModes FreshScheduleModes();

// The modes of a file's bytes. A file of 0 or 1 byte is one the editor created (every mode 1); any other
// size but 196 bytes raises EScheduleFileError naming it. Bytes outside 0..5 read as 0.
ScheduleModes ParseScheduleModes(std::string_view bytes);

enum class ScheduleLoad { Loaded, Created, Refused };

// Reads the file into modes (at most one byte past its size is ever read). A missing file is created as
// the single byte 2 (Created, every mode 1). A file of the wrong size is left alone (Refused, every mode
// 1, error set).
ScheduleLoad LoadScheduleFile(const std::string& path, ScheduleModes& modes, std::string& error);

// Writes the modes at offset 4 of an existing file; a mode outside 0..5 is stored as 0. False when the
// file cannot be opened or written.
bool SaveScheduleModes(const std::string& path, const ScheduleModes& modes);

// Cell texts: " " for mode 0, else the digit. A text that is not a number 0..5 is mode 0.
std::string ModeText(int mode);
int ModeFromText(const std::string& text);

// Left button: " ", 5, 4, 3, 2, 1, " ". Right button, row and column buttons: " ", 1, .., 5, " ".
int StepModeDown(int mode);
int StepModeUp(int mode);
