// The map window: the vehicle's GPS position on the client's map page, shown in a browser control. The
// program talks to the page only through its script functions "initialize" and "doMoveCenter"; a still
// picture covers the browser until the map is first re-centred.
#pragma once

#include "bitmap32/Bmp32_Image.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/WebBrowser.h"

#include <memory>
#include <string>
#include <vector>

class TFrmHtmlMap : public TForm {
public:
    explicit TFrmHtmlMap(TComponent* owner);

    TCppWebBrowser* CppWebBrowser = nullptr;
    TImage32* ImageMap32 = nullptr;

    // The position of the last ShowPosition, as the class library writes numbers (C locale).
    std::string firstCoordText;
    std::string secondCoordText;

    // Loads the page afresh at this position; the address text is not used.
    void ShowPosition(const std::string& address, double first, double second);
    // Hides the still picture and moves the page's centre; false when the page could not be called.
    bool MoveCenter(const std::string& first, const std::string& second);

    void CppWebBrowserDocumentComplete(TObject* sender, const std::string& url);
    void FormShow(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

// The map page: "client_Gmap.html" in the program folder's resources, or beside the executable when the
// program folder has no resources of its own.
std::string MapPageFile();
// Where the map page loads its tiles from, with {z}, {x} and {y} for each tile's numbers: the map
// provider; for tests, which serve tiles of their own, the address HARBEK_MAP_TILES names.
std::string MapTileAddress();

// Calls the page's script functions with text arguments, on the page document it was last given.
class CScriptCaller {
public:
    // Holds this document instead of the one before; true when its script can be called.
    bool SetDocument(std::shared_ptr<TWebDocument> document);
    bool Call2(const std::string& name, const std::string& text1, const std::string& text2);
    bool Call3(const std::string& name, const std::string& text1, const std::string& text2,
               const std::string& text3);
    // Calls the function with the texts gathered by the last Call; true when the call ran.
    bool Invoke(const std::string& name);

private:
    std::vector<std::string> params_;
    std::shared_ptr<TWebDocument> document_;
};

extern CScriptCaller ScriptCaller;
extern TFormVar<TFrmHtmlMap> FrmHtmlMap;
