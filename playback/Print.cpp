#include "playback/Print.h"

#include "client/LanguageDll.h"
#include "client/Placement.h"
#include "client/main.h"

#include "platform/core/FilePaths.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Jpeg.h"
#include "platform/vcl/Printers.h"
#include "platform/vcl/WinUser.h"

#include <cmath>

TFormVar<TfrmPrint> frmPrint;

namespace {

struct TStandardLayout {
    int clientHeight;
    int panelHeight;
    int pictureHeight;
    int buttonTop;
    int timeTop;
};
constexpr TStandardLayout kNtsc{526, 473, 480, 488, 432};
constexpr TStandardLayout kPal{622, 569, 576, 584, 528};

// Labels are transparent over the picture: their text alone is drawn.
void DrawLabel(TCanvas& canvas, const TLabel* label) {
    if (label->Caption().empty()) return;
    canvas.SetFont(label->Font());
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(label->Left(), label->Top(), label->Caption());
}

} // namespace

std::string SnapshotFileName(const std::string& chosen, int camera) {
    const std::size_t slash = chosen.find_last_of('/');
    const std::size_t dot = chosen.find_last_of('.');
    const std::string number = "_" + std::to_string(camera);
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return chosen + number;
    return chosen.substr(0, dot) + number + chosen.substr(dot);
}

TRect SnapshotPrintRect(int width, int height) {
    return TRect{20, 0, static_cast<int>(width * 6.8), static_cast<int>(height * 6.8)};
}

TfrmPrint::TfrmPrint(TComponent* owner) : TForm(owner) {
    LoadDefinition("Print", Bindings());
}

const TFormBindings& TfrmPrint::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("Panel1", &TfrmPrint::Panel1)
            .AddField("Label1", &TfrmPrint::Label1)
            .AddField("Label2", &TfrmPrint::Label2)
            .AddField("btnSave", &TfrmPrint::btnSave)
            .AddField("btnPrint", &TfrmPrint::btnPrint)
            .AddField("btnClose", &TfrmPrint::btnClose)
            .AddField("SaveDialog1", &TfrmPrint::SaveDialog1)
            .AddField("PrintDialog1", &TfrmPrint::PrintDialog1)
            .AddField("TimerDialogPosition", &TfrmPrint::TimerDialogPosition)
            .AddMethod("FormShow", &TfrmPrint::FormShow)
            .AddMethod("FormClose", &TfrmPrint::FormClose)
            .AddMethod("btnSaveClick", &TfrmPrint::btnSaveClick)
            .AddMethod("btnPrintClick", &TfrmPrint::btnPrintClick)
            .AddMethod("btnCloseClick", &TfrmPrint::btnCloseClick)
            .AddMethod("TimerDialogPositionTimer", &TfrmPrint::TimerDialogPositionTimer);
    return bindings;
}

void TfrmPrint::MakeFrameImage() {
    if (frameImage_ != nullptr) return;
    frameImage_ = new TImage(this);
    frameImage_->SetParent(Panel1);
    frameImage_->SetStretch(true);
    frameImage_->SendToBack();
    Label1->BringToFront();
    Label2->BringToFront();
}

void TfrmPrint::ShowFrame(const TImage* source, int camera, int sourceWidth, int standard,
                          const std::string& timeText, const std::string& title) {
    const TStandardLayout& layout = standard == 1 ? kNtsc : kPal;
    SetClientWidth(689);
    SetClientHeight(layout.clientHeight);
    Panel1->SetBounds(-1, -1, 691, layout.panelHeight);
    btnSave->SetTop(layout.buttonTop);
    btnPrint->SetTop(layout.buttonTop);
    btnClose->SetTop(layout.buttonTop);
    btnSave->SetLeft(416);
    btnPrint->SetLeft(504);
    btnClose->SetLeft(592);
    Label2->SetLeft(440);
    Label2->SetTop(layout.timeTop);
    const bool half = sourceWidth == 352;
    MakeFrameImage();
    frameImage_->SetBounds(half ? -8 : -16, -6, half ? 704 : 720, layout.pictureHeight);
    frameImage_->SetVisible(true);
    if (source != nullptr) frameImage_->Picture()->Assign(source->Picture());
    Label1->SetCaption(title);
    Label2->SetCaption(timeText);
    cameraNumber_ = camera;
}

std::unique_ptr<TBitmap> TfrmPrint::Snapshot() const {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(Panel1->Width(), Panel1->Height());
    TCanvas& canvas = *bitmap->Canvas();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Panel1->Color());
    canvas.FillRect(TRect{0, 0, Panel1->Width(), Panel1->Height()});
    if (frameImage_ != nullptr && frameImage_->Visible() && frameImage_->Picture()->Graphic() != nullptr)
        canvas.StretchDraw(TRect{frameImage_->Left(), frameImage_->Top(),
                                 frameImage_->Left() + frameImage_->Width(),
                                 frameImage_->Top() + frameImage_->Height()},
                           frameImage_->Picture()->Graphic());
    DrawLabel(canvas, Label1);
    DrawLabel(canvas, Label2);
    return bitmap;
}

void TfrmPrint::FormShow(TObject*) {
    PlaceOnMainWindow(this, Width(), Height());
    MakeFrameImage();
    if (FrmMain == nullptr) return;
    ApplyLanguageFont(Font(), FrmMain->GetLanguageId());
    SetCaption(FrmMain->LoadLangString(59922));
    btnSave->SetCaption(FrmMain->LoadLangString(59977));
    btnPrint->SetCaption(FrmMain->LoadLangString(59973));
    btnClose->SetCaption(FrmMain->LoadLangString(59979));
}

void TfrmPrint::FormClose(TObject*, TCloseAction& action) {
    action = caHide;
    delete frameImage_;
    frameImage_ = nullptr;
}

std::string TfrmPrint::WrittenTo(const std::string& file) const {
    return (FrmMain != nullptr ? FrmMain->LoadLangString(60250) : std::string()) + "\n" + file;
}

void TfrmPrint::Report(const std::string& text) {
    if (FrmMain != nullptr) FrmMain->ShowMessageBox(text, FrmMain->LoadLangString(59922), 0);
}

void TfrmPrint::btnSaveClick(TObject*) {
    SaveDialog1->SetFilter("JPEG (*.JPG)|*.jpg"); // untranslated: the dialog's fixed filter
    SaveDialog1->SetDefaultExt("jpg");
    SaveDialog1->SetFileName("*.jpg");
    if (FrmMain != nullptr)
        SaveDialog1->SetInitialDir(FrmMain->ChooserStartFolder(TFrmMain::TChooser::Snapshot));
    TimerDialogPosition->SetEnabled(true);
    const bool chosen = SaveDialog1->Execute();
    TimerDialogPosition->SetEnabled(false);
    if (!chosen) return;
    // The file written is not the one named: the dialog could not ask about it.
    const std::string target = SnapshotFileName(SaveDialog1->FileName(), cameraNumber_);
    if (FrmMain != nullptr)
        FrmMain->RememberChosenFolder(TFrmMain::TChooser::Snapshot, ExtractFilePath(target));
    if (FileExists(target) && FrmMain != nullptr &&
        FrmMain->ShowMessageBox(FrmMain->LoadLangString(60251) + "\n" + target,
                                FrmMain->LoadLangString(59977), 4) != mrYes)
        return;
    try {
        const std::unique_ptr<TBitmap> bitmap = Snapshot();
        TJPEGImage jpeg;
        jpeg.Assign(bitmap.get());
        jpeg.SaveToFile(target);
    } catch (const Exception& e) {
        Report(e.what());
        return;
    }
    Report(WrittenTo(target));
}

void TfrmPrint::btnPrintClick(TObject*) {
    const std::unique_ptr<TBitmap> bitmap = Snapshot();
    TimerDialogPosition->SetEnabled(true);
    const bool chosen = PrintDialog1->Execute();
    TimerDialogPosition->SetEnabled(false);
    if (!chosen) return;
    TPrinter* printer = Printer();
    try {
        printer->BeginDoc();
        printer->Canvas()->StretchDraw(SnapshotPrintRect(bitmap->Width(), bitmap->Height()), bitmap.get());
        printer->EndDoc();
    } catch (const Exception& e) {
        if (printer->Printing()) printer->Abort();
        Report(e.what());
        return;
    }
    if (!printer->OutputFileName().empty()) Report(WrittenTo(printer->OutputFileName()));
}

void TfrmPrint::btnCloseClick(TObject*) {
    if (FrmMain != nullptr) FrmMain->SetEnabled(true);
    Close();
}

void TfrmPrint::TimerDialogPositionTimer(TObject*) {
    TimerDialogPosition->SetEnabled(false);
    const HWND dialog = GetForegroundWindow();
    if (dialog == nullptr || dialog == Handle()) return;
    TRect rect{};
    if (!GetWindowRect(dialog, &rect)) return;
    const TPoint at = CentredPlacement(Left(), Top(), Width(), Height(), rect.Width(), rect.Height(),
                                       Screen->WorkAreaRect());
    SetWindowPos(dialog, HWND_TOPMOST, at.X, at.Y, 0, 0, SWP_NOSIZE);
}
