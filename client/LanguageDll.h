// The language libraries: one UTF-8 string table per language, "dll<code>.txt" in the LANGUAGE folder
// of the resources, loaded through the module table (LoadLibrary) like the libraries they stand for.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/core/Types.h"
#include "platform/vcl/Graphics.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

HARBEK_DECLARE_EXCEPTION(ELanguageTableError, Exception);

// Tables larger than this are refused unread.
inline constexpr std::size_t kMaxLanguageTableBytes = 4u << 20;
inline constexpr int kMaxLanguageStringId = 65535;

class LanguageTable {
public:
    // Lines "<id><TAB><text>", '#' comments and blank lines; escapes \n, \t and \\ only. Raises
    // ELanguageTableError naming the line for anything else, a repeated id or text that is not UTF-8.
    static LanguageTable Parse(std::string_view bytes, const std::string& fileName);

    // Empty text for an id the table does not hold.
    std::string Find(int id) const;
    bool Contains(int id) const { return strings_.count(id) != 0; }
    std::size_t Count() const { return strings_.size(); }

private:
    std::map<int, std::string> strings_;
};

// Language id to the library's code ("jpn" 1041, "kor" 1042, "esp" 3082, "eng" otherwise), the code page
// the system kept beside it (932, 949, 1252) and the face each window asks for.
std::string LanguageCodeFor(int languageId);
int CodePageFor(int languageId);
std::string LanguageFontName(int languageId);
// The character set that goes with that face (SHIFTJIS_CHARSET, HANGEUL_CHARSET, DEFAULT_CHARSET).
BYTE LanguageFontCharset(int languageId);
// Gives the font the face and character set of the language; the platform draws it with the installed
// family that stands for that face.
void ApplyLanguageFont(TFont* font, int languageId);

// "dll" + code + ".txt", and its full path under the resource root's LANGUAGE folder.
std::string LanguageTableName(const std::string& code);
std::string LanguageTablePath(const std::string& code);

// Lets LoadLibrary open language tables by path; safe to call more than once.
void RegisterLanguageModules();
// The table of a module loaded from a language table path (nullptr once it is unloaded).
std::shared_ptr<const LanguageTable> LanguageModuleTable(HMODULE module);
