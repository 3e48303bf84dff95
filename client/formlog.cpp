// The connect dialog: the address book, the address and port checks and the hand-over to the main
// window's log-in.
#include "client/formlog.h"

#include "client/LanguageDll.h"
#include "client/Placement.h"
#include "client/main.h"

#include "controls/BmButton.h"
#include "controls/imgframe.h"
#include "net/WSocketLib.h"

#include "platform/core/AppPaths.h"
#include "platform/core/Debug.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/WinUser.h"

#include <vector>

namespace {

constexpr const char* kAddressBookName = "ipaddress.lst";

} // namespace

TFormVar<TFrmLog> FrmLog;

TFrmLog::TFrmLog(TComponent* owner) : TForm(owner) {
    LoadDefinition("formlog", Bindings());
}

const TFormBindings& TFrmLog::Bindings() {
    static const TFormBindings b = TFormBindings()
                                       .AddField("ImgBackground", &TFrmLog::ImgBackground)
                                       .AddField("ImgListBackground", &TFrmLog::ImgListBackground)
                                       .AddField("BtnClose", &TFrmLog::BtnClose)
                                       .AddField("BtnOk", &TFrmLog::BtnOk)
                                       .AddField("BtnAdd", &TFrmLog::BtnAdd)
                                       .AddField("BtnRemove", &TFrmLog::BtnRemove)
                                       .AddField("BtnCancel", &TFrmLog::BtnCancel)
                                       .AddField("LabelIP", &TFrmLog::LabelIP)
                                       .AddField("LabelPort", &TFrmLog::LabelPort)
                                       .AddField("LabelPassword", &TFrmLog::LabelPassword)
                                       .AddField("ebIP", &TFrmLog::ebIP)
                                       .AddField("ebPort", &TFrmLog::ebPort)
                                       .AddField("mePassword", &TFrmLog::mePassword)
                                       .AddField("lbIPAddress", &TFrmLog::lbIPAddress)
                                       .AddField("rbtAdmin", &TFrmLog::rbtAdmin)
                                       .AddField("rbtUser", &TFrmLog::rbtUser)
                                       .AddField("Button1", &TFrmLog::Button1)
                                       .AddField("Button2", &TFrmLog::Button2)
                                       .AddMethod("FormShow", &TFrmLog::FormShow)
                                       .AddMethod("FormClose", &TFrmLog::FormClose)
                                       .AddMethod("BtnOkClick", &TFrmLog::BtnOkClick)
                                       .AddMethod("BtnCloseClick", &TFrmLog::BtnCloseClick)
                                       .AddMethod("BtnCancelClick", &TFrmLog::BtnCancelClick)
                                       .AddMethod("BtnAddClick", &TFrmLog::BtnAddClick)
                                       .AddMethod("BtnRemoveClick", &TFrmLog::BtnRemoveClick)
                                       .AddMethod("lbIPAddressClick", &TFrmLog::lbIPAddressClick)
                                       .AddMethod("Button1Click", &TFrmLog::Button1Click)
                                       .AddMethod("Button2Click", &TFrmLog::Button2Click)
                                       .AddMethod("rbtAdminClick", &TFrmLog::rbtAdminClick)
                                       .AddMethod("rbtUserClick", &TFrmLog::rbtUserClick)
                                       .AddMethod("ebIPKeyUp", &TFrmLog::ebIPKeyUp)
                                       .AddMethod("ebPortKeyUp", &TFrmLog::ebPortKeyUp)
                                       .AddMethod("mePasswordKeyUp", &TFrmLog::mePasswordKeyUp)
                                       .AddMethod("ImgBackgroundMouseDown", &TFrmLog::ImgBackgroundMouseDown);
    return b;
}

// ---- Showing and closing ----

std::string TFrmLog::AddressBookPath() const {
    return (FrmMain != nullptr ? FrmMain->ProgramFolder : ProgramFolder()) + kAddressBookName;
}

void TFrmLog::FormShow(TObject*) {
    SetClientWidth(ImgBackground->Width());
    SetClientHeight(ImgBackground->Height());
    PlaceOnMainWindow(this, Width(), Height());
    const int languageId = FrmMain != nullptr ? FrmMain->GetLanguageId() : 0;
    ApplyLanguageFont(Font(), languageId);
    LoadAddressBook();
    UserLevel = 2;
    mePassword->SetText("");
    rbtUser->SetChecked(true);
    if (FrmMain == nullptr) return;
    LabelIP->SetCaption(FrmMain->LoadLangString(59972));
    LabelPort->SetCaption(FrmMain->LoadLangString(59971));
    LabelPassword->SetCaption(FrmMain->LoadLangString(59970));
    rbtAdmin->SetCaption(FrmMain->LoadLangString(59969));
    rbtUser->SetCaption(FrmMain->LoadLangString(59968));
}

void TFrmLog::FormClose(TObject*, TCloseAction&) {
    SaveAddressBook();
}

void TFrmLog::LoadAddressBook() {
    const std::string path = AddressBookPath();
    DebugTrace("TFrmLog::FormShow", Format("file_name = (%s)", path.c_str()));
    TStrings* items = lbIPAddress->Items();
    items->Clear();
    for (const std::string& line : ReadAddressBook(path))
        items->Add(line);
}

void TFrmLog::SaveAddressBook() {
    const std::string path = AddressBookPath();
    DebugTrace("TFrmLog::FormClose", Format("file_name = (%s)", path.c_str()));
    std::vector<std::string> lines;
    TStrings* items = lbIPAddress->Items();
    for (int i = 0; i < items->Count(); ++i)
        lines.push_back(items->Strings(i));
    if (!WriteAddressBook(path, lines)) DebugTrace("TFrmLog::FormClose", "cannot write the address book");
}

// ---- Connecting ----

bool TFrmLog::ParseDottedAddress(const std::string& text, TIPv4& address) {
    return ::ParseDottedAddress(text, address);
}

int TFrmLog::GetUserLevel() {
    if (rbtAdmin->Checked())
        UserLevel = 1;
    else if (rbtUser->Checked())
        UserLevel = 2;
    return UserLevel;
}

void TFrmLog::BtnOkClick(TObject*) {
    const std::string address = ebIP->Text();
    if (address.empty()) return;
    const std::string port = ebPort->Text();
    // A port that is not a number, or one without a port after it for the pictures, never connects.
    if (!ValidPortText(port)) {
        ShowBox(59824, 59877);
        return;
    }
    winsock::WSAData data{};
    const int started = WSocket_WSAStartup(0x0202, &data);
    if (started != 0) {
        DebugTrace("TFrmLog::BtnOkClick", Format("WSAStartup %d", started));
        return;
    }
    std::string dotted;
    const bool found = ResolveIPv4(address, dotted);
    if (WSocket_WSACleanup() != 0)
        DebugTrace("TFrmLog::BtnOkClick", Format("WSACleanup %d", WSocket_WSAGetLastError()));
    if (!found) {
        ShowBox(59824, 59877);
        return;
    }
    DebugTrace("TFrmLog::BtnOkClick", dotted);
    ResolvedAddress = dotted;
    Close();
    if (FrmMain == nullptr) return;
    FrmMain->ConnectToQel(ResolvedAddress, port);
    // A connect that failed leaves the local playback running, and with it the copy of what it plays.
    if (!FrmMain->PlaybackFileOpen()) {
        FrmMain->BtnRecStart->Hide();
        FrmMain->BtnRecStop->Hide();
    }
}

void TFrmLog::ShowBox(int captionId, int textId) {
    if (FrmMain != nullptr)
        FrmMain->ShowMessageBox(FrmMain->LoadLangString(textId), FrmMain->LoadLangString(captionId), 0);
}

void TFrmLog::BtnCloseClick(TObject*) {
    Close();
    ebIP->SetText("");
    if (FrmMain != nullptr) FrmMain->SetEnabled(true);
}

void TFrmLog::BtnCancelClick(TObject* sender) {
    BtnCloseClick(sender);
}

// ---- The address book ----

void TFrmLog::BtnAddClick(TObject*) {
    const std::string entry = AddressBookEntry(ebIP->Text(), ebPort->Text());
    TStrings* items = lbIPAddress->Items();
    if (items->IndexOf(entry) < 0) items->Insert(0, entry);
}

void TFrmLog::BtnRemoveClick(TObject*) {
    const int index = lbIPAddress->ItemIndex();
    if (index >= 0 && index < lbIPAddress->Items()->Count()) lbIPAddress->Items()->Delete(index);
}

void TFrmLog::lbIPAddressClick(TObject*) {
    const int index = lbIPAddress->ItemIndex();
    if (index < 0 || index >= lbIPAddress->Items()->Count()) return;
    std::string address, port = ebPort->Text();
    bool hasPort = false;
    SplitAddressBookEntry(lbIPAddress->Items()->Strings(index), address, port, hasPort);
    ebIP->SetText(address);
    if (hasPort) ebPort->SetText(port);
}

void TFrmLog::Button1Click(TObject*) {
    SaveAddressBook();
}

void TFrmLog::Button2Click(TObject*) {
    LoadAddressBook();
}

void TFrmLog::rbtAdminClick(TObject*) {
    UserLevel = 1;
}

void TFrmLog::rbtUserClick(TObject*) {
    UserLevel = 2;
}

void TFrmLog::ebIPKeyUp(TObject* sender, WORD& key, TShiftState) {
    if (key == VK_RETURN) BtnOkClick(sender);
}

void TFrmLog::ebPortKeyUp(TObject* sender, WORD& key, TShiftState) {
    if (key == VK_RETURN) BtnOkClick(sender);
}

void TFrmLog::mePasswordKeyUp(TObject* sender, WORD& key, TShiftState) {
    if (key == VK_RETURN) BtnOkClick(sender);
}

void TFrmLog::ImgBackgroundMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    if (button != mbLeft) return;
    ReleaseCapture();
    Perform(WM_SYSCOMMAND, SC_DRAGMOVE, 0);
}
