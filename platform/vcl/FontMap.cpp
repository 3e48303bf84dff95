#include "platform/vcl/FontMap.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/DeviceContext.h"

#include <fontconfig/fontconfig.h>

#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>

namespace {

struct TAlias {
    std::initializer_list<const char*> names;
    const char* lang; // script the faces are for, nullptr for Latin
    std::initializer_list<const char*> lookAlikes;
};

// Faces of the other desktop and installed families that look and measure alike. Each list starts with
// the family the build installs (make deps), so that the choice is the same on every machine that has
// it, whatever else is installed; the others only stand in where it is missing.
const TAlias Aliases[] = {
    {{"MS PGothic", "MS Gothic", "MS UI Gothic",
      "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF", "Meiryo",
      "Meiryo UI"},
     "ja",
     {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "Noto Sans JP", "IPAexGothic", "VL PGothic",
      "TakaoPGothic"}},
    {{"Gulim", "GulimChe", "Dotum", "DotumChe", "Batang", "Malgun Gothic", "\xEA\xB5\xB4\xEB\xA6\xBC",
      "\xEB\x8F\x8B\xEC\x9B\x80", "\xEB\xB0\x94\xED\x83\x95"},
     "ko",
     {"NanumGothic", "Noto Sans CJK KR", "Noto Sans KR", "NanumBarunGothic", "UnDotum", "Baekmuk Gulim"}},
    {{"Arial", "Helvetica", "Arial Unicode MS"}, nullptr, {"Liberation Sans", "Arimo", "DejaVu Sans"}},
    {{"MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Tahoma", "Segoe UI",
      "System", "Default", "Verdana"},
     nullptr,
     {"DejaVu Sans"}},
    {{"Courier New", "Courier", "Fixedsys", "Terminal", "Lucida Console"},
     nullptr,
     {"Liberation Mono", "Cousine", "DejaVu Sans Mono"}},
    {{"Times New Roman", "Times", "MS Serif"}, nullptr, {"Liberation Serif", "Tinos", "DejaVu Serif"}},
};

// Families with Japanese and Korean glyphs that every font falls back to for the characters its own
// family lacks, the build's own first.
const char* const JapaneseFallbacks[] = {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP"};
const char* const KoreanFallbacks[] = {"NanumGothic", "Noto Sans CJK KR"};

std::mutex& FcMutex() {
    static std::mutex m;
    return m;
}

// The configuration is read on a thread of its own. The program's end waits for that thread: left
// running, it may still be inside fontconfig while the program's statics and libraries go.
struct TFcLoading {
    std::shared_future<bool> read;
    std::thread thread;
    TFcLoading() {
        std::promise<bool> done;
        read = done.get_future().share();
        thread = std::thread([done = std::move(done)]() mutable { done.set_value(FcInit() == FcTrue); });
    }
    ~TFcLoading() { thread.join(); }
    TFcLoading(const TFcLoading&) = delete;
    TFcLoading& operator=(const TFcLoading&) = delete;
};

const TFcLoading& FcLoading() {
    static const TFcLoading loading;
    return loading;
}

bool FcReady() {
    static const bool ready = FcLoading().read.get();
    return ready;
}

bool InstalledLocked(const std::string& family) {
    if (family.empty() || !FcReady()) return false;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr));
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    const bool found = fonts && fonts->nfont > 0;
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

// The family fontconfig would pick for a script, when it really covers that script.
std::string FamilyForLangLocked(const char* lang, bool fixed) {
    if (!FcReady()) return std::string();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(fixed ? "monospace" : "sans-serif"));
    FcLangSet* langs = FcLangSetCreate();
    FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>(lang));
    FcPatternAddLangSet(pattern, FC_LANG, langs);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string family;
    if (match) {
        FcLangSet* covered = nullptr;
        FcChar8* name = nullptr;
        if (FcPatternGetLangSet(match, FC_LANG, 0, &covered) == FcResultMatch &&
            FcLangSetHasLang(covered, reinterpret_cast<const FcChar8*>(lang)) == FcLangEqual &&
            FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
            family = reinterpret_cast<const char*>(name);
        FcPatternDestroy(match);
    }
    FcLangSetDestroy(langs);
    FcPatternDestroy(pattern);
    return family;
}

const TAlias* FindAlias(const std::string& name) {
    for (const TAlias& a : Aliases)
        for (const char* n : a.names)
            if (SameText(name, n)) return &a;
    return nullptr;
}

const char* LangOfCharset(BYTE charset) {
    switch (charset) {
    case SHIFTJIS_CHARSET:
        return "ja";
    case HANGEUL_CHARSET:
        return "ko";
    case GB2312_CHARSET:
        return "zh-cn";
    case CHINESEBIG5_CHARSET:
        return "zh-tw";
    default:
        return nullptr;
    }
}

} // namespace

void StartFontConfiguration() {
    FcLoading();
}

std::string ChooseFontFamily(const std::string& requested, BYTE charset, bool fixedPitch,
                             const std::function<bool(const std::string&)>& installed,
                             const std::function<std::string(const char* lang)>& scriptFamily) {
    const std::string name = Trim(requested);
    const TAlias* alias = FindAlias(name);
    // A known face takes its look-alike even where the face itself exists: the windows are laid out
    // for the look-alike's measures, on every machine alike.
    if (alias)
        for (const char* candidate : alias->lookAlikes)
            if (installed(candidate)) return candidate;
    if (installed(name)) return name;
    const char* lang = alias && alias->lang ? alias->lang : LangOfCharset(charset);
    if (lang) {
        std::string family = scriptFamily(lang);
        if (!family.empty()) return family;
    }
    return fixedPitch ? "DejaVu Sans Mono" : "DejaVu Sans";
}

std::vector<std::string> ChooseFallbackFamilies(BYTE charset,
                                                const std::function<bool(const std::string&)>& installed) {
    std::vector<std::string> out;
    const auto add = [&](const auto& list) {
        for (const char* family : list)
            if (installed(family)) out.emplace_back(family);
    };
    // Kanji and hangul share code points with other scripts' characters only in part; the charset
    // says whose shapes come first.
    if (charset == HANGEUL_CHARSET) {
        add(KoreanFallbacks);
        add(JapaneseFallbacks);
    } else {
        add(JapaneseFallbacks);
        add(KoreanFallbacks);
    }
    return out;
}

namespace {

std::string MapLocked(const std::string& requested, BYTE charset, bool fixed) {
    return ChooseFontFamily(
        requested, charset, fixed, [](const std::string& family) { return InstalledLocked(family); },
        [fixed](const char* lang) { return FamilyForLangLocked(lang, fixed); });
}

} // namespace

std::string MapFontFamily(const std::string& requested, BYTE charset, bool fixedPitch) {
    static std::map<std::tuple<std::string, BYTE, bool>, std::string> cache;
    std::lock_guard<std::mutex> lock(FcMutex());
    const auto key = std::make_tuple(LowerCase(requested), charset, fixedPitch);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    std::string family = MapLocked(requested, charset, fixedPitch);
    cache.emplace(key, family);
    return family;
}

std::vector<std::string> FallbackFontFamilies(BYTE charset) {
    static std::map<BYTE, std::vector<std::string>> cache;
    std::lock_guard<std::mutex> lock(FcMutex());
    auto it = cache.find(charset);
    if (it == cache.end())
        it = cache
                 .emplace(charset,
                          ChooseFallbackFamilies(
                              charset, [](const std::string& family) { return InstalledLocked(family); }))
                 .first;
    return it->second;
}

bool FontFamilyInstalled(const std::string& family) {
    std::lock_guard<std::mutex> lock(FcMutex());
    return InstalledLocked(family);
}
