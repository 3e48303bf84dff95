// The snapshot print window: one camera's current picture at full video size with its title and
// time, to be saved as a picture file or printed.
#pragma once

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/PrintDialog.h"
#include "platform/vcl/StdCtrls.h"

#include <memory>
#include <string>

class TBitmap;

// "shot.jpg" for camera 2 is "shot_2.jpg": the camera's number goes before the extension.
std::string SnapshotFileName(const std::string& chosen, int camera);
// Where a snapshot of width x height pixels is drawn on the printed page, in printer pixels.
TRect SnapshotPrintRect(int width, int height);

class TfrmPrint : public TForm {
public:
    explicit TfrmPrint(TComponent* owner);

    TPanel* Panel1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TButton* btnSave = nullptr;
    TButton* btnPrint = nullptr;
    TButton* btnClose = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TPrintDialog* PrintDialog1 = nullptr;
    TTimer* TimerDialogPosition = nullptr;

    // The screen's picture of camera 1..4 at full size: 704 wide for a 352-pixel source, else 720;
    // 480 high for standard 1, else 576.
    void ShowFrame(const TImage* source, int camera, int sourceWidth, int standard,
                   const std::string& timeText, const std::string& title);
    // The picture area as saved and printed: the picture with both texts over it.
    std::unique_ptr<TBitmap> Snapshot() const;
    TImage* FrameImage() const { return frameImage_; }
    int GetCameraNumber() const { return cameraNumber_; }

    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void btnSaveClick(TObject* sender);
    void btnPrintClick(TObject* sender);
    void btnCloseClick(TObject* sender);
    void TimerDialogPositionTimer(TObject* sender);

private:
    static const TFormBindings& Bindings();
    void MakeFrameImage();
    void Report(const std::string& text);
    // The text that tells where the snapshot went.
    std::string WrittenTo(const std::string& file) const;

    TImage* frameImage_ = nullptr;
    int cameraNumber_ = 1;
};

extern TFormVar<TfrmPrint> frmPrint;
