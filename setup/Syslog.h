// The client log side panel beside the main window.
#pragma once

#include "controls/BmButton.h"
#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

// Where a panel of that size goes beside the main window's rectangle: against its right edge when the
// work area has room there, else against its left edge; without room on either side, at the work area's
// edge where it covers less of the window (on a tie the left, over the pictures rather than the
// controls). Top = the main window's top + 28, kept inside the work area.
TPoint LogPanelPlace(const TRect& main, int width, int height, const TRect& workArea);

class TfrmSysLog : public TForm {
public:
    explicit TfrmSysLog(TComponent* owner);

    TImgFrame* ImgFrame1 = nullptr;
    TBmButton* BtnClose = nullptr;
    TListBox* lbLog = nullptr;

    void FormShow(TObject* sender);
    void ImgFrame1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void BtnCloseClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmSysLog> frmSysLog;
