#include "recdb/SearchWindowLayout.h"

#include "client/main.h"
#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/WinUser.h"
#include "playback/Backup.h"
#include "recdb/Search.h"
#include "setup/Menu.h"

#include <algorithm>

namespace {

constexpr TColor kSkinBackground = static_cast<TColor>(0x00D8E9EC);
constexpr int kCaptionAllowance = 32;

} // namespace

void ReplaceSkinBackground(TImgFrame* image, int width, int height) {
    TBitmap* bitmap = image->Picture()->Bitmap();
    if (bitmap == nullptr || bitmap->Empty()) return;
    TCanvas* canvas = bitmap->Canvas();
    const TColor face = ColorToRGB(clBtnFace);
    const int w = std::min(width, bitmap->Width());
    const int h = std::min(height, bitmap->Height());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (canvas->Pixels(x, y) == kSkinBackground) canvas->SetPixels(x, y, face);
    image->Invalidate();
}

void PlaceTableWindow(TForm* form) {
    TRect main{};
    int mainWidth = 0;
    int mainHeight = 0;
    if (FrmMain != nullptr) {
        FrmMain->GetWorkArea(main);
        mainWidth = FrmMain->ClientWidth();
        mainHeight = FrmMain->ClientHeight();
    }
    const int w = form->ClientWidth();
    const int h = form->ClientHeight();
    int x = std::max(0, (mainWidth - w) / 2 + main.Left);
    int y = std::max(0, (mainHeight - h + kCaptionAllowance) / 2 + main.Top);
    const TRect area = Screen->WorkAreaRect();
    if (x + w > area.Right) x = area.Right - w;
    if (y + h + kCaptionAllowance > area.Bottom) y = area.Bottom - h - kCaptionAllowance;
    form->SetBounds(x, y, form->Width(), form->Height());
    form->SetTopmost(true);
}

int TableCameraCount() {
    const int menu = frmMenu != nullptr ? frmMenu->MaxCamera : 0;
    // APPLY clears the menu's count until a page asks again; the recorder's last answer still holds.
    if (menu == 0 && FrmMain != nullptr) return FrmMain->MaxCamera;
    return menu;
}

void FitTableToCameras(TForm* form, TLabel* secondRowLabel, std::span<TImgFrame* const> secondRow,
                       int clientWidth, std::initializer_list<TButton*> oneRowButtons) {
    const int cameras = TableCameraCount();
    const bool four = cameras == 4 || (cameras != 1 && secondRowLabel->Visible());
    secondRowLabel->SetVisible(four);
    for (TImgFrame* cell : secondRow)
        cell->SetVisible(four);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(four ? 321 : 201);
    for (TButton* button : oneRowButtons)
        button->SetVisible(!four);
}

bool BackupSpansOffered() {
    return FrmMain != nullptr && FrmMain->GetSysInfoResult() >= 3;
}

void EnableBackupButtons(std::initializer_list<TButton*> buttons) {
    for (TButton* button : buttons)
        button->SetEnabled(BackupSpansOffered());
}

void PopupBackupMenu(TPopupMenu* menu) {
    if (!BackupSpansOffered()) return;
    TPoint at{};
    GetCursorPos(&at);
    menu->Popup(at.X, at.Y);
}

void SetBackupSpanCaptions(TLabel* startLabel, TLabel* endLabel, TButton* backup, TMenuItem* setStart,
                           TMenuItem* setEnd) {
    startLabel->SetCaption(FrmMain->LoadLangString(50489));
    endLabel->SetCaption(FrmMain->LoadLangString(50488));
    backup->SetCaption(FrmMain->LoadLangString(50991));
    setStart->SetCaption(FrmMain->LoadLangString(50491));
    setEnd->SetCaption(FrmMain->LoadLangString(50490));
}

void ReadSearchSource(int& localDbMode, int& searchSource, std::string& dbRoot, std::string& avRoot) {
    localDbMode = FrmMain->GetLocalDbMode();
    searchSource = FrmMain->GetSearchSource();
    if (searchSource == 0 && localDbMode == 1) FrmMain->GetDiskRoots(dbRoot, avRoot);
}

void StartBackupFrom(TForm* form, int returnForm) {
    if (frmBackup == nullptr || FrmMain == nullptr) return;
    // Another span asked while the first one's size is awaited would start a second backup inside it.
    if (FrmMain->Activities.RefusesPresses()) return;
    if (frmBackup->GetEndTime() <= frmBackup->GetStartTime()) {
        FrmMain->ShowMessageBoxEx(FrmMain->LoadLangString(50483), FrmMain->LoadLangString(51000), 0,
                                  form->Width(), form->Height(), form->Left(), form->Top());
        return;
    }
    form->Hide();
    frmBackup->SetReturnForm(returnForm);
    frmBackup->RequestBackupSize((frmSearch != nullptr ? frmSearch->GetSearchMode() : 1) - 1);
}
