// The web browser control: shows a local page and calls the page's script functions by name.
//
// The browser engine is loaded the first time the control navigates (see WebEngineModule.h); until
// then the control shows its colour. Events arrive on the GUI thread through its event loop.
//
//     Browser->OnDocumentComplete = TDocumentCompleteEvent(this, &TFrmX::BrowserDocumentComplete);
//     Browser->Navigate("/path/page.html");
//     ... in BrowserDocumentComplete: if (auto doc = Browser->Document()) doc->CallFunction("f", {"a"});
#pragma once

#include "platform/vcl/Controls.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class TCppWebBrowser;

namespace vcl_internal {
struct TWebBrowserState;
}

// One loaded page. It answers for the page it was made for only: once the browser navigates again,
// refreshes or is destroyed, the page's script is gone and every call is refused.
class TWebDocument {
public:
    const std::string& Url() const { return url_; }
    // The page is still the one shown and its script object is there.
    bool HasScript() const;
    // Calls the page's global function `name` with `args` as string values: they travel JSON-encoded
    // and are never pasted into script text, so quotes, backslashes and line breaks arrive intact.
    // True when the call was handed to a function of that name on this page; false (and nothing runs)
    // when the page is gone or has no such function. What the function throws is traced.
    bool CallFunction(const std::string& name, const std::vector<std::string>& args);

private:
    friend struct vcl_internal::TWebBrowserState;
    TWebDocument(std::weak_ptr<vcl_internal::TWebBrowserState> browser, unsigned generation, std::string url);

    std::weak_ptr<vcl_internal::TWebBrowserState> browser_;
    unsigned generation_;
    std::string url_;
};

// Sender and the address of the page whose load ended (Document() is nullptr when the load failed).
using TDocumentCompleteEvent = TEvent<TObject*, const std::string&>;

class TCppWebBrowser : public TCustomControl {
public:
    explicit TCppWebBrowser(TComponent* owner);
    ~TCppWebBrowser() override;

    // Starts loading a local file, with the query's names and values (percent-encoded here) after its
    // address. The first navigation starts the browser engine from the event loop; when the engine
    // cannot be loaded, the application's exception handler tells so and no load ends.
    void Navigate(const std::string& fileName,
                  const std::vector<std::pair<std::string, std::string>>& query = {});
    // Loads the current page again; nothing when none was asked for.
    void Refresh();
    // The page loaded last, nullptr while a load is under way, after a failed one and before any.
    std::shared_ptr<TWebDocument> Document() const;
    // The shown page's title; empty before the engine has started.
    std::string LocationName() const;
    // The browser engine has been started for this control.
    bool EngineStarted() const;

    bool ReadProperty(TPropertyReader& reader) override;

    // A load ended, successfully or not; for a page that loaded, its functions can now be called.
    TDocumentCompleteEvent OnDocumentComplete;

private:
    void StartEngine();
    void StartEngineLater(unsigned generation, int attempt);
    void LoadEnded(bool ok);

    std::shared_ptr<vcl_internal::TWebBrowserState> state_;
};
