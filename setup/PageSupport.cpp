#include "setup/PageSupport.h"

#include "client/LanguageDll.h"
#include "client/Placement.h"
#include "client/main.h"

#include "platform/core/AppPaths.h"
#include "platform/vcl/Forms.h"

namespace setup_pages {

std::string SetupFolder() {
    return FrmMain != nullptr && !FrmMain->ProgramFolder.empty() ? FrmMain->ProgramFolder : ProgramFolder();
}

std::string LangText(int id) {
    return FrmMain != nullptr ? FrmMain->LoadLangString(id) : std::string();
}

void SetLangCaption(TControl* control, int id) {
    const std::string text = LangText(id);
    if (control != nullptr && !text.empty()) control->SetCaption(text);
}

void PreparePage(TForm* form) {
    ApplyLanguageFont(form->Font(), FrmMain != nullptr ? FrmMain->GetLanguageId() : 0);
    PlaceOnMainWindow(form, form->Width(), form->Height());
}

int SetupBox(const std::string& text, const std::string& caption, int type) {
    return FrmMain != nullptr ? FrmMain->ShowMessageBox(text, caption, type) : -1;
}

int SetupBoxOver(TForm* form, const std::string& text, const std::string& caption, int type) {
    if (FrmMain == nullptr) return -1;
    return FrmMain->ShowMessageBoxEx(text, caption, type, form->Width(), form->Height(), form->Left(),
                                     form->Top());
}

void EnableMainWindow(bool enabled) {
    if (FrmMain != nullptr) FrmMain->SetEnabled(enabled);
}

} // namespace setup_pages
