// The browser engine's module: a Qt WebEngine view behind the browser control's interface. Built as a
// module of its own so that only a program that shows a page loads the engine.
#include "platform/vcl/WebEngineModule.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <unistd.h>

namespace {

// Before the engine starts, once per process.
void PrepareEngine() {
    static bool prepared = false;
    if (prepared) return;
    prepared = true;
    // The engine refuses to run as root with its sandbox on (CI and containers run as root); any other
    // user keeps it.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Started late, the engine describes its graphics set-up at length; that is no news here.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    // Tile servers ask that programs name themselves.
    const QString name = QCoreApplication::applicationName();
    if (!name.isEmpty() && !profile->httpUserAgent().endsWith(name))
        profile->setHttpUserAgent(profile->httpUserAgent() + ' ' + name);
}

class TQtWebEngineView final : public vcl_internal::TWebEngineView {
public:
    explicit TQtWebEngineView(QWidget* parent) {
        PrepareEngine();
        view_ = new QWebEngineView(parent);
        view_->setContextMenuPolicy(Qt::NoContextMenu);
        QWebEngineSettings* settings = view_->settings();
        // A page from a local file draws its map from a tile server.
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        QObject::connect(view_, &QWebEngineView::loadFinished, view_, [this](bool ok) {
            if (OnLoadFinished) OnLoadFinished(ok);
        });
    }
    ~TQtWebEngineView() override {
        if (!view_) return;
        // A view destroyed with the focus hands it on from its half-destroyed parts, which then get key
        // events: it gives the focus up while it is whole.
        QWidget* focus = QApplication::focusWidget();
        if (focus != nullptr && (focus == view_ || view_->isAncestorOf(focus))) focus->clearFocus();
        delete view_;
    }

    QWidget* Widget() override { return view_; }
    void Load(const QUrl& url) override { view_->load(url); }
    void Reload() override { view_->reload(); }
    QString Title() override { return view_->title(); }
    void RunScript(const QString& script, std::function<void(const QVariant&)> done) override {
        view_->page()->runJavaScript(script, 0, [done = std::move(done)](const QVariant& value) {
            if (done) done(value);
        });
    }

private:
    // The parent may take the view with it first.
    QPointer<QWebEngineView> view_;
};

} // namespace

extern "C" __attribute__((visibility("default"))) vcl_internal::TWebEngineView*
HarbekCreateWebEngineView(QWidget* parent) {
    return new TQtWebEngineView(parent);
}
