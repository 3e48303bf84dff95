// Frame indexes built for recordings that came without one: the offsets of their frames found by
// walking the frame headers, written as an ".fdx" file.
#pragma once

#include "platform/core/Types.h"

#include <string>
#include <vector>

// The offset of every frame header of a recorded file, at most kQelFileMaxFrames. Bytes that do not
// start a frame are stepped over 32 at a time; the walk ends at the end of the file, at a header cut
// short, and at the filler that pads a finished backup. Raises EFOpenError when the file cannot be
// opened and EReadError when it cannot be read.
std::vector<DWORD> ScanFrameOffsets(const std::string& recordingPath);

// Whether a frame index agrees with its recording: entries that run forward a frame apart at least, a
// whole frame where the last entry says, and no frame after it. False also when the recording cannot be
// read.
bool FrameOffsetsFit(const std::string& recordingPath, const std::vector<DWORD>& offsets);

// Writes the offsets as a flat array of little-endian u32. Raises EFCreateError or EWriteError.
void WriteFrameOffsets(const std::string& indexPath, const std::vector<DWORD>& offsets);

// A file name against a search mask of the platform's kind: '*' any run, '?' one character or none
// at the end of the name.
bool MatchesFileMask(const std::string& name, const std::string& mask);
