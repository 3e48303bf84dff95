#include "playback/HtmlMap.h"

#include "client/Placement.h"
#include "client/main.h"

#include "platform/core/AppPaths.h"
#include "platform/core/Debug.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/FormReader.h"

#include <cstdlib>

CScriptCaller ScriptCaller;
TFormVar<TFrmHtmlMap> FrmHtmlMap;

namespace {
constexpr char kMapPage[] = "client_Gmap.html";
constexpr char kMapTiles[] = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
} // namespace

std::string MapTileAddress() {
    const char* tests = std::getenv("HARBEK_MAP_TILES");
    return tests != nullptr && *tests != 0 ? tests : kMapTiles;
}

std::string MapPageFile() {
    const std::string own = ProgramFolder() + "resources";
    if (DirectoryExists(own)) return own + "/" + kMapPage;
    return ResolveResourceFile(kMapPage);
}

// ---- CScriptCaller ----

bool CScriptCaller::SetDocument(std::shared_ptr<TWebDocument> document) {
    document_ = std::move(document);
    return document_ != nullptr && document_->HasScript();
}

bool CScriptCaller::Call2(const std::string& name, const std::string& text1, const std::string& text2) {
    params_ = {text1, text2};
    return Invoke(name);
}

bool CScriptCaller::Call3(const std::string& name, const std::string& text1, const std::string& text2,
                          const std::string& text3) {
    params_ = {text1, text2, text3};
    return Invoke(name);
}

bool CScriptCaller::Invoke(const std::string& name) {
    return document_ != nullptr && document_->CallFunction(name, params_);
}

// ---- TFrmHtmlMap ----

TFrmHtmlMap::TFrmHtmlMap(TComponent* owner) : TForm(owner) {
    LoadDefinition("HtmlMap", Bindings());
}

const TFormBindings& TFrmHtmlMap::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("CppWebBrowser", &TFrmHtmlMap::CppWebBrowser)
            .AddField("ImageMap32", &TFrmHtmlMap::ImageMap32)
            .AddMethod("CppWebBrowserDocumentComplete", &TFrmHtmlMap::CppWebBrowserDocumentComplete)
            .AddMethod("FormShow", &TFrmHtmlMap::FormShow);
    return bindings;
}

void TFrmHtmlMap::ShowPosition(const std::string&, double first, double second) {
    firstCoordText = FloatToStr(first);
    secondCoordText = FloatToStr(second);
    CppWebBrowser->Refresh();
    // The page loads its tiles from where the availability check looked.
    CppWebBrowser->Navigate(MapPageFile(), {{"tiles", MapTileAddress()}});
}

void TFrmHtmlMap::CppWebBrowserDocumentComplete(TObject*, const std::string& url) {
    const bool scripted = ScriptCaller.SetDocument(CppWebBrowser->Document());
    DebugTrace("TFrmHtmlMap::CppWebBrowserDocumentComplete", url + (scripted ? "" : ": no document"));
    if (!scripted) return;
    ScriptCaller.Call3("initialize", ProgramFolder(), firstCoordText, secondCoordText);
    if (FrmMain != nullptr) FrmMain->SetMapPageLoaded();
}

bool TFrmHtmlMap::MoveCenter(const std::string& first, const std::string& second) {
    ImageMap32->SetVisible(false);
    return ScriptCaller.Call2("doMoveCenter", first, second);
}

void TFrmHtmlMap::FormShow(TObject*) {
    PlaceOnMainWindow(this, Width(), Height());
}
