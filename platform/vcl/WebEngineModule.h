// Platform-internal: what the browser control asks of the browser engine's module.
//
// The engine's libraries are large (tens of megabytes to map and relocate, dozens more libraries), so
// they stay out of the program: the module that links them is loaded the first time a browser control
// is used, and a program that never shows a page never loads it.
#pragma once

#include <QString>
#include <QUrl>
#include <QVariant>

#include <functional>

class QWidget;

namespace vcl_internal {

class TWebEngineView {
public:
    virtual ~TWebEngineView() = default;
    // The view widget, a child of the parent it was created with.
    virtual QWidget* Widget() = 0;
    virtual void Load(const QUrl& url) = 0;
    virtual void Reload() = 0;
    // The shown page's title.
    virtual QString Title() = 0;
    // Runs script in the page's own world; `done` gets its value later on the GUI thread, or never when
    // the view goes first.
    virtual void RunScript(const QString& script, std::function<void(const QVariant&)> done) = 0;
    // A load ended, successfully or not.
    std::function<void(bool ok)> OnLoadFinished;
};

// The module's one entry point.
using TCreateWebEngineView = TWebEngineView* (*)(QWidget* parent);
inline constexpr char kCreateWebEngineViewSymbol[] = "HarbekCreateWebEngineView";
// The module's file name; ProgramModuleFile() says where it lies.
inline constexpr char kWebEngineModuleName[] = "harbek_webengine.so";

} // namespace vcl_internal
