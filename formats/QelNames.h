// Folder and file names of recorded files, from the first frame's time broken down as UTC.
#pragma once

#include "platform/core/Types.h"

#include <string>
#include <string_view>

// "%d%02d%02d%02d": year, month, day, hour.
std::string QelHourFolderName(DWORD time);
// "%d%02d%02d%02d%02d%02d": to the second, no extension.
std::string QelRecordingName(DWORD time);
// `folder` + "/" + hour folder + "/" + recording name.
std::string QelRecordingPath(const std::string& folder, DWORD time);
// The time a 14-digit recording name stands for; false for any other text or an impossible date.
bool TryParseQelRecordingName(std::string_view name, DWORD& time);
