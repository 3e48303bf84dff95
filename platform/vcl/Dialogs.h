// Message dialogs, file dialogs and the folder chooser. Every one of them can be answered by a test
// hook (TestHooks.h) instead of being shown.
#pragma once

#include "platform/vcl/Forms.h"

#include <string>
#include <vector>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The form CreateMessageDialog makes: the text, an icon for the type (none for mtCustom) and one button
// per kind, each closing the box with its modal result.
class TMessageForm : public TForm {
public:
    TMessageForm(TComponent* owner, const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

    const std::string& MessageText() const { return text_; }
    TMsgDlgType DialogType() const { return type_; }
    TMsgDlgButtons Buttons() const { return buttons_; }
    // The answer of Esc: Cancel, else No, else OK (else the first button).
    TModalResult CancelResult() const;

private:
    std::string text_;
    TMsgDlgType type_;
    TMsgDlgButtons buttons_;
};

// A hidden message box; the caller sets its caption and position, shows it modally and deletes it.
TForm* CreateMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
// Centred on the screen (or at x, y when both are not -1); returns the modal result.
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
int MessageDlgPos(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext, int x,
                  int y);
void ShowMessage(const std::string& text);

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing,
    ofDontAddToRecent,
    ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner);
    ~TOpenDialog() override;

    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& value) { fileName_ = value; }
    // "Text files (*.txt)|*.txt|All|*.*": pairs of description and ';'-separated masks.
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& value) { filter_ = value; }
    // 1-based.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int value) { filterIndex_ = value; }
    // Added to a chosen name that has no extension.
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& value) { defaultExt_ = value; }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& value) { initialDir_ = value; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& value) { title_ = value; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions value) { options_ = value; }
    TStrings* Files() const { return files_.get(); }

    // True when the user chose a file (FileName is then set).
    virtual bool Execute();
    // The dialog's window while it is open, else nullptr; CloseDialog cancels an open dialog.
    HWND Handle() const { return handle_; }
    void CloseDialog();

    bool ReadProperty(TPropertyReader& reader) override;

protected:
    bool Run(bool save);

private:
    std::string fileName_;
    std::string filter_;
    int filterIndex_ = 1;
    std::string defaultExt_;
    std::string initialDir_;
    std::string title_;
    TOpenOptions options_ = TOpenOptions{ofHideReadOnly, ofEnableSizing};
    std::unique_ptr<TStringList> files_;
    HWND handle_ = nullptr;
    void* dialog_ = nullptr;
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    bool Execute() override;
};

// The folder chooser: true with `directory` set when the user chose one. `directory` is also where it
// starts; `root` (may be empty) limits where it may go.
bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory);

// Applies DefaultExt and the rules of the filter's masks to a chosen name (platform-internal, tested).
std::string ApplyDefaultExt(const std::string& fileName, const std::string& defaultExt);
// "Desc|*.a;*.b|All|*.*" as the toolkit's name filters, each mask in both cases ("Desc (*.a *.A ...)").
// A description without masks matches every file.
std::vector<std::string> DialogNameFilters(const std::string& filter);
