// Folder listings with Windows masks and attributes: FindFirst, FindNext, FindClose.
//
// Masks compare ignoring ASCII case: "*" any run, "?" one character, and a trailing ".*" also matches
// names without a dot ("*.*" matches every name). Attributes are made up from the entry: faDirectory,
// faArchive for anything else, faReadOnly without the owner's write permission, faHidden for names
// starting with "." (but not "." and ".."), faSymLink for links (described by what they point at).
// Entries come in name order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

inline constexpr int faReadOnly = 0x01;
inline constexpr int faHidden = 0x02;
inline constexpr int faSysFile = 0x04;
inline constexpr int faVolumeID = 0x08;
inline constexpr int faDirectory = 0x10;
inline constexpr int faArchive = 0x20;
inline constexpr int faSymLink = 0x40;
inline constexpr int faAnyFile = 0x3F;

struct FindState;

struct TSearchRec {
    std::int64_t Time = 0; // modification time, seconds since 1970
    std::int64_t Size = 0;
    int Attr = 0;
    std::string Name;
    int ExcludeAttr = 0;
    std::shared_ptr<FindState> FindHandle;
};

// path is a folder and a mask ("dir/*.fdx"). As the class library: entries with faHidden, faSysFile,
// faVolumeID or faDirectory are listed only when attributes asks for them; other attributes never
// narrow the listing. 0 on success, else the platform's error number (ERROR_FILE_NOT_FOUND when nothing
// matches, ERROR_PATH_NOT_FOUND when the folder is missing).
int FindFirst(const std::string& path, int attributes, TSearchRec& rec);
// 0, or ERROR_NO_MORE_FILES.
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);

// The attributes of one entry, or -1 when there is no such entry.
int FileGetAttr(const std::string& path);

bool MatchesMask(std::string_view name, std::string_view mask);
