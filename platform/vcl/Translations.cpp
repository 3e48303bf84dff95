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
    // Kept to the end of the process, as the application object is.
    static QTranslator* loaded = nullptr;
    static const char* loadedName = nullptr;
    const char* name = ToolkitLanguage(language);
    if (name == loadedName) return;
    if (loaded != nullptr) {
        QCoreApplication::removeTranslator(loaded);
        delete loaded;
        loaded = nullptr;
    }
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
    loaded = translator.release();
    loadedName = name;
}

} // namespace vcl_internal
