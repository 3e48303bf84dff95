// The toolkit's own texts in the program's language.
#include "platform/vcl/FormsInternal.h"

#include "platform/core/Debug.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace vcl_internal {

namespace {

// The languages the program has tables for, by the same ids.
const char* ToolkitLanguage(LANGID language) {
    switch (language) {
    case 1041:
        return "ja";
    case 1042:
        return "ko";
    case 3082:
        return "es";
    default:
        return nullptr;
    }
}

} // namespace

void LoadToolkitTranslations(LANGID language) {
    static std::unique_ptr<QTranslator> loaded;
    static const char* loadedName = nullptr;
    const char* name = ToolkitLanguage(language);
    if (loaded && name == loadedName) return;
    if (loaded) QCoreApplication::removeTranslator(loaded.get());
    loaded.reset();
    loadedName = nullptr;
    if (name == nullptr) return;
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_") + QLatin1String(name), folder)) {
        // Without the toolkit's translations installed its buttons stay English.
        DebugTrace("LoadToolkitTranslations", std::string("no toolkit translation for ") + name);
        return;
    }
    QCoreApplication::installTranslator(translator.get());
    loaded = std::move(translator);
    loadedName = name;
}

} // namespace vcl_internal
