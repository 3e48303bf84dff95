#include "platform/vcl/WebBrowser.h"

#include "platform/core/AppPaths.h"
#include "platform/core/Debug.h"
#include "platform/core/Exceptions.h"
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/QtSupport.h"
#include "platform/vcl/WebEngineModule.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QOpenGLContext>
#include <QTimer>
#include <QWindow>

#include <dlfcn.h>

#include <set>

// QtGui's own, not in its public headers: the context that every OpenGL context of the process shares
// with. The engine needs one before it is loaded, and cannot make it itself once the application exists.
Q_GUI_EXPORT QOpenGLContext* qt_gl_global_share_context();
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace vcl_internal {

namespace {

// Made here rather than by the application at start (Qt::AA_ShareOpenGLContexts), which would set up
// OpenGL in every program, shown page or not: without acceleration that alone takes a large part of a
// second.
void ShareOpenGlContexts() {
    if (qt_gl_global_share_context() != nullptr) return;
    auto* context = new QOpenGLContext();
    context->setFormat(QSurfaceFormat::defaultFormat());
    context->create();
    qt_gl_set_global_share_context(context);
}

const bool Registered = [] {
    RegisterComponentClass<TCppWebBrowser>("TCppWebBrowser");
    return true;
}();

// The module's entry point, loaded once per process; the module stays for the rest of the process.
TCreateWebEngineView WebEngineEntry() {
    static TCreateWebEngineView entry = nullptr;
    if (entry != nullptr) return entry;
    const std::string path = ProgramModuleFile(kWebEngineModuleName);
    ShareOpenGlContexts();
    void* module = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (module == nullptr)
        throw Exception(std::string("The browser engine cannot be loaded: ") + ::dlerror());
    entry = reinterpret_cast<TCreateWebEngineView>(::dlsym(module, kCreateWebEngineViewSymbol));
    if (entry == nullptr)
        throw Exception("The browser engine cannot be loaded: " + path + " has no entry point");
    return entry;
}

// The whole page's script call: the function looked up by name at call time, the arguments a JSON
// array. The result says what happened, for the trace.
QString CallScript(const std::string& name, const std::vector<std::string>& args) {
    QJsonArray values;
    for (const std::string& a : args)
        values.append(ToQString(a));
    const QString nameValue =
        QString::fromUtf8(QJsonDocument(QJsonArray{ToQString(name)}).toJson(QJsonDocument::Compact));
    return QStringLiteral("(function (name, args) {"
                          " var f = window[name];"
                          " if (typeof f !== 'function') return 'missing';"
                          " try { f.apply(window, args); return 'ran'; }"
                          " catch (e) { return 'threw ' + e; }"
                          "})(%1[0], %2)")
        .arg(nameValue, QString::fromUtf8(QJsonDocument(values).toJson(QJsonDocument::Compact)));
}

// A window on the screen is drawn when the display first exposes it; the engine waits that long, at
// most kDrawWaitSteps * kDrawWaitStepMs.
constexpr int kDrawWaitStepMs = 20;
constexpr int kDrawWaitSteps = 50;

// The window holding the widget has been drawn, or is not shown and will not be.
bool WindowDrawn(QWidget* widget) {
    QWidget* top = widget->window();
    if (!top->isVisible()) return true;
    const QWindow* handle = top->windowHandle();
    return handle != nullptr && handle->isExposed();
}

// The functions a page has once it has loaded: its own and the browser's globals.
const QString kListFunctions =
    QStringLiteral("Object.getOwnPropertyNames(window).filter(function (n) {"
                   " try { return typeof window[n] === 'function'; } catch (e) { return false; } })");

} // namespace

// What the control and its documents share. The browser's state is one phase with one setter; every
// navigation starts a new generation, which retires the documents of the ones before.
struct TWebBrowserState : std::enable_shared_from_this<TWebBrowserState> {
    enum class TPhase {
        Empty,     // nothing asked for yet
        Refreshed, // a refresh is asked for; a navigation asked for at once supersedes it
        Loading,   // a navigation or refresh is under way
        Listing,   // loaded; its functions are being listed
        Loaded,    // a document is there
        Failed,    // the last load failed
    };

    TCppWebBrowser* control = nullptr;
    std::unique_ptr<TWebEngineView> view;
    TPhase phase = TPhase::Empty;
    unsigned generation = 0;
    std::string url;
    std::set<std::string> functions;
    std::shared_ptr<TWebDocument> document;

    // Every new load asked for starts a generation; a refresh handed on to the engine goes on in its own.
    void SetPhase(TPhase next) {
        if (next == TPhase::Refreshed || (next == TPhase::Loading && phase != TPhase::Refreshed))
            ++generation;
        phase = next;
        if (next != TPhase::Loaded) {
            document.reset();
            functions.clear();
        }
    }

    void DocumentReady(unsigned forGeneration, const QVariant& names) {
        if (forGeneration != generation || phase != TPhase::Listing) return;
        for (const QVariant& n : names.toList())
            functions.insert(FromQString(n.toString()));
        phase = TPhase::Loaded;
        document.reset(new TWebDocument(weak_from_this(), generation, url));
    }

    bool Current(unsigned forGeneration) const {
        return control != nullptr && view != nullptr && forGeneration == generation &&
               phase == TPhase::Loaded;
    }

    bool Call(unsigned forGeneration, const std::string& name, const std::vector<std::string>& args) {
        if (!Current(forGeneration) || functions.count(name) == 0) return false;
        std::weak_ptr<TWebBrowserState> self = weak_from_this();
        view->RunScript(CallScript(name, args), [self, forGeneration, name](const QVariant& result) {
            const std::string outcome = FromQString(result.toString());
            if (outcome == "ran") return;
            DebugTrace("TCppWebBrowser::CallFunction",
                       name + ": " + (outcome.empty() ? "no answer" : outcome));
            // Gone since the page was listed: later calls are refused at once.
            if (auto state = self.lock(); state && outcome == "missing" && state->Current(forGeneration))
                state->functions.erase(name);
        });
        return true;
    }
};

} // namespace vcl_internal

using vcl_internal::TWebBrowserState;
using TPhase = TWebBrowserState::TPhase;

// ---- TWebDocument ----

TWebDocument::TWebDocument(std::weak_ptr<TWebBrowserState> browser, unsigned generation, std::string url)
    : browser_(std::move(browser)), generation_(generation), url_(std::move(url)) {}

bool TWebDocument::HasScript() const {
    const auto state = browser_.lock();
    return state && state->Current(generation_);
}

bool TWebDocument::CallFunction(const std::string& name, const std::vector<std::string>& args) {
    const auto state = browser_.lock();
    return state && state->Call(generation_, name, args);
}

// ---- TCppWebBrowser ----

TCppWebBrowser::TCppWebBrowser(TComponent* owner)
    : TCustomControl(owner), state_(std::make_shared<TWebBrowserState>()) {
    (void)vcl_internal::Registered;
    state_->control = this;
    SetColor(clWhite);
    SetTabStop(true);
    SetBounds(0, 0, 300, 150);
}

TCppWebBrowser::~TCppWebBrowser() {
    state_->control = nullptr;
    state_->SetPhase(TPhase::Empty);
    state_->view.reset();
}

std::string TCppWebBrowser::LocationName() const {
    return state_->view ? vcl_internal::FromQString(state_->view->Title()) : std::string();
}

bool TCppWebBrowser::EngineStarted() const {
    return state_->view != nullptr;
}

void TCppWebBrowser::StartEngine() {
    if (state_->view) return;
    const vcl_internal::TCreateWebEngineView create = vcl_internal::WebEngineEntry();
    state_->view.reset(create(nullptr));
    Peer()->SetInner(state_->view->Widget());
    std::weak_ptr<TWebBrowserState> weak = state_;
    state_->view->OnLoadFinished = [this, weak](bool ok) {
        const auto state = weak.lock();
        if (state && state->control == this) LoadEnded(ok);
    };
}

void TCppWebBrowser::Navigate(const std::string& fileName,
                              const std::vector<std::pair<std::string, std::string>>& query) {
    QUrl url = QUrl::fromLocalFile(QFileInfo(vcl_internal::ToQString(fileName)).absoluteFilePath());
    QByteArray pairs;
    for (const auto& [name, value] : query) {
        if (!pairs.isEmpty()) pairs += '&';
        pairs += QUrl::toPercentEncoding(vcl_internal::ToQString(name)) + '=' +
                 QUrl::toPercentEncoding(vcl_internal::ToQString(value));
    }
    if (!pairs.isEmpty()) url.setQuery(QString::fromLatin1(pairs), QUrl::StrictMode);
    state_->url = vcl_internal::FromQString(url.toString());
    state_->SetPhase(TPhase::Loading);
    if (state_->view) {
        state_->view->Load(url);
        return;
    }
    // The engine takes a while to start, during which nothing is drawn: the window showing the browser
    // is drawn first. A later navigation takes the load over.
    StartEngineLater(state_->generation, 0);
}

void TCppWebBrowser::StartEngineLater(unsigned generation, int attempt) {
    QTimer::singleShot(
        attempt == 0 ? 0 : vcl_internal::kDrawWaitStepMs, Peer()->widget, [this, generation, attempt] {
            if (state_->view || state_->phase != TPhase::Loading || state_->generation != generation) return;
            if (!vcl_internal::WindowDrawn(Peer()->widget) && attempt < vcl_internal::kDrawWaitSteps) {
                StartEngineLater(generation, attempt + 1);
                return;
            }
            vcl_internal::Guarded([this] {
                try {
                    StartEngine();
                } catch (...) {
                    state_->SetPhase(TPhase::Failed);
                    throw;
                }
                state_->view->Load(QUrl(vcl_internal::ToQString(state_->url)));
            });
        });
}

void TCppWebBrowser::Refresh() {
    if (!state_->view || state_->phase == TPhase::Empty) return;
    state_->SetPhase(TPhase::Refreshed);
    // Handed on from the event loop, so that a navigation right after it is the only load the engine sees
    // (the refresh it cut short would otherwise end as a failed load of its own).
    std::weak_ptr<TWebBrowserState> weak = state_;
    const unsigned generation = state_->generation;
    QTimer::singleShot(0, state_->view->Widget(), [weak, generation] {
        const auto state = weak.lock();
        if (!state || !state->view || state->phase != TPhase::Refreshed || state->generation != generation)
            return;
        state->SetPhase(TPhase::Loading);
        state->view->Reload();
    });
}

std::shared_ptr<TWebDocument> TCppWebBrowser::Document() const {
    return state_->document;
}

void TCppWebBrowser::LoadEnded(bool ok) {
    // A load that ended before an asked-for refresh began is of no interest: the refresh follows.
    if (state_->phase == TPhase::Refreshed) return;
    // A load the page started itself (a reload from its script) retires the documents before it too.
    if (state_->phase != TPhase::Loading) state_->SetPhase(TPhase::Loading);
    const unsigned generation = state_->generation;
    if (!ok) {
        state_->SetPhase(TPhase::Failed);
        vcl_internal::Guarded([this] { OnDocumentComplete(this, state_->url); });
        return;
    }
    state_->SetPhase(TPhase::Listing);
    std::weak_ptr<TWebBrowserState> weak = state_;
    state_->view->RunScript(vcl_internal::kListFunctions, [this, weak, generation](const QVariant& names) {
        const auto state = weak.lock();
        if (!state || state->control != this) return;
        state->DocumentReady(generation, names);
        if (state->Current(generation))
            vcl_internal::Guarded([this] { OnDocumentComplete(this, state_->url); });
    });
}

bool TCppWebBrowser::ReadProperty(TPropertyReader& r) {
    if (r.Is("OnDocumentComplete")) {
        OnDocumentComplete = r.Event<TDocumentCompleteEvent>();
        return true;
    }
    return TCustomControl::ReadProperty(r);
}

#if defined(__SANITIZE_ADDRESS__)
// The engine's own code deletes some of its objects with another size than they were made with; none of
// ours. Every program that shows a page would otherwise stop at its first page.
extern "C" const char* __asan_default_options() {
    return "new_delete_type_mismatch=0";
}
#endif
