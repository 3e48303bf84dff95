// The playback, backup, map and print windows as their definitions build them: hidden at creation,
// the controls where they belong, skinned windows sized by their background pictures, and shown
// looking right (snapshots under <build>/snapshots).
#include "playback/Backup.h"
#include "playback/FileList.h"
#include "playback/FileTable.h"
#include "playback/HtmlMap.h"
#include "playback/LocalSearch.h"
#include "playback/Print.h"
#include "playback/SearchDevice.h"
#include "playback/download.h"
#include "tests/recdb/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

using window_test::ClientPixel;
using window_test::ExpectControls;
using window_test::SkinPixel;
using window_test::Snapshot;

class PlaybackWindowsTest : public window_test::WindowTest {};

struct WindowRow {
    const char* unit;
    std::function<TForm*()> create;
    std::function<TForm*()> global;
    const char* name;
    const char* caption;
    int clientWidth, clientHeight;
    TFormBorderStyle border;
    TBorderIcons icons;
};

const WindowRow kWindows[] = {
    {"Print",
     [] {
         Application->CreateForm(frmPrint);
         return frmPrint.Get();
     },
     [] { return frmPrint.Get(); },
     "frmPrint",
     "PRINT",
     689,
     526,
     bsSingle,
     {}},
    {"FileList",
     [] {
         Application->CreateForm(frmFileList);
         return frmFileList.Get();
     },
     [] { return frmFileList.Get(); },
     "frmFileList",
     "PLAY LIST",
     178,
     599,
     bsNone,
     {}},
    {"download",
     [] {
         Application->CreateForm(frmDownload);
         return frmDownload.Get();
     },
     [] { return frmDownload.Get(); },
     "frmDownload",
     "DOWNLOAD",
     535,
     191,
     bsNone,
     {}},
    {"SearchDevice",
     [] {
         Application->CreateForm(FrmSerDevice);
         return FrmSerDevice.Get();
     },
     [] { return FrmSerDevice.Get(); },
     "FrmSerDevice",
     "SEARCH",
     201,
     193,
     bsSingle,
     {}},
    {"FileTable",
     [] {
         Application->CreateForm(FrmFileTable);
         return FrmFileTable.Get();
     },
     [] { return FrmFileTable.Get(); },
     "FrmFileTable",
     "SEARCH CF/SD",
     481,
     578,
     bsSingle,
     {}},
    {"Backup",
     [] {
         Application->CreateForm(frmBackup);
         return frmBackup.Get();
     },
     [] { return frmBackup.Get(); },
     "frmBackup",
     "BACKUP",
     401,
     249,
     bsSingle,
     {}},
    {"LocalSearch",
     [] {
         Application->CreateForm(frmLocalSearch);
         return frmLocalSearch.Get();
     },
     [] { return frmLocalSearch.Get(); },
     "frmLocalSearch",
     "LOCAL SEARCH",
     201,
     153,
     bsSingle,
     {}},
    {"HtmlMap",
     [] {
         Application->CreateForm(FrmHtmlMap);
         return FrmHtmlMap.Get();
     },
     [] { return FrmHtmlMap.Get(); },
     "FrmHtmlMap",
     "Map",
     336,
     315,
     bsSingle,
     {biSystemMenu}},
};

TEST_F(PlaybackWindowsTest, EveryWindowIsCreatedHiddenAndCanBeShown) {
    for (const WindowRow& window : kWindows) {
        SCOPED_TRACE(window.unit);
        TForm* form = window.create();
        EXPECT_EQ(window.global(), form);
        EXPECT_EQ(Application->FindComponent(window.name), form);
        EXPECT_FALSE(form->Visible());
        EXPECT_EQ(form->Caption(), window.caption);
        EXPECT_EQ(form->ClientWidth(), window.clientWidth);
        EXPECT_EQ(form->ClientHeight(), window.clientHeight);
        EXPECT_EQ(form->BorderStyle(), window.border);
        EXPECT_EQ(form->BorderIcons(), window.icons);

        form->Show();
        EXPECT_TRUE(form->Showing());
        const form_testing::TSnapshot picture = Snapshot(form, window.unit);
        EXPECT_EQ(picture.Width, form->Width());
        EXPECT_EQ(picture.Height, form->Height());
        form->Hide();
        EXPECT_FALSE(form->Showing());
    }
}

TEST_F(PlaybackWindowsTest, PrintWindowHoldsThePictureAreaAndItsTexts) {
    Application->CreateForm(frmPrint);
    ExpectControls(frmPrint, {
                                 {"Panel1", "TPanel", -1, -1, 691, 474, true},
                                 {"btnSave", "TButton", 416, 488, 81, 25, true},
                                 {"btnPrint", "TButton", 504, 488, 81, 25, true},
                                 {"btnClose", "TButton", 592, 488, 81, 25, true},
                             });
    // The texts lie on the picture, so a snapshot of the area carries them.
    EXPECT_EQ(frmPrint->Label1->Parent(), frmPrint->Panel1);
    EXPECT_EQ(frmPrint->Label2->Parent(), frmPrint->Panel1);
    EXPECT_EQ(frmPrint->Label1->Left(), 48);
    EXPECT_EQ(frmPrint->Label1->Top(), 40);
    EXPECT_EQ(frmPrint->Label2->Left(), 440);
    EXPECT_EQ(frmPrint->Label2->Top(), 432);
    EXPECT_TRUE(frmPrint->Label1->Transparent());
    EXPECT_EQ(frmPrint->btnSave->Caption(), "Save As");
    EXPECT_FALSE(frmPrint->TimerDialogPosition->Enabled());
    EXPECT_EQ(frmPrint->TimerDialogPosition->Interval(), 1u);
    ASSERT_NE(frmPrint->SaveDialog1, nullptr);
    ASSERT_NE(frmPrint->PrintDialog1, nullptr);
}

// Whether any pixel of the client rectangle has about the colour (each channel within 48).
bool AnyPixelNear(const form_testing::TSnapshot& picture, TForm* form, const TRect& area, TColor colour) {
    const auto channel = [](TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) {
            const TColor p = ClientPixel(picture, form, x, y);
            bool near = true;
            for (int shift : {0, 8, 16})
                near = near && std::abs(channel(p, shift) - channel(colour, shift)) <= 48;
            if (near) return true;
        }
    return false;
}

TEST_F(PlaybackWindowsTest, PrintTextsShowOverThePicture) {
    Application->CreateForm(frmPrint);
    frmPrint->Label1->SetCaption("CAMERA 1");
    frmPrint->Label2->SetCaption("Mon Oct 01 17:05:00 2007");
    frmPrint->Show();
    const form_testing::TSnapshot picture = Snapshot(frmPrint, "PrintTexts");
    for (TLabel* label : {frmPrint->Label1, frmPrint->Label2}) {
        SCOPED_TRACE(label->Name());
        // Panel coordinates: the panel starts one pixel outside the client area.
        const TRect area = Rect(label->Left() - 1, label->Top() - 1, label->Left() - 1 + label->Width(),
                                label->Top() - 1 + label->Height());
        EXPECT_GT(label->Width(), 40);
        EXPECT_TRUE(AnyPixelNear(picture, frmPrint, area, clWhite));
        EXPECT_TRUE(AnyPixelNear(picture, frmPrint, area, clBlack));
    }
}

TEST_F(PlaybackWindowsTest, PlayListNamesAreReadableOnTheDarkPanel) {
    Application->CreateForm(frmFileList);
    frmFileList->lbFileList->Items()->Add("20080101120000");
    frmFileList->lbFileList->Items()->Add("20080101110000");
    EXPECT_EQ(frmFileList->lbFileList->Items()->Strings(0), "20080101110000");
    frmFileList->Show();
    const form_testing::TSnapshot picture = Snapshot(frmFileList, "FileListNames");
    const TRect firstRow = Rect(15, 42, 15 + 148, 42 + 13);
    EXPECT_TRUE(AnyPixelNear(picture, frmFileList, firstRow, frmFileList->lbFileList->Font()->Color()));
    EXPECT_TRUE(
        AnyPixelNear(picture, frmFileList, Rect(15, 300, 163, 400), frmFileList->lbFileList->Color()));
}

TEST_F(PlaybackWindowsTest, SkinnedWindowsTakeTheSizeOfTheirBackground) {
    Application->CreateForm(frmFileList);
    Application->CreateForm(frmDownload);
    struct {
        TForm* form;
        TImgFrame* background;
        const char* skin;
    } const rows[] = {{frmFileList, frmFileList->ImgFrame1, "filelist_bg"},
                      {frmDownload, frmDownload->ImgBackground, "download_bg"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.skin);
        EXPECT_EQ(row.background->BoundsRect(),
                  Rect(0, 0, row.form->ClientWidth(), row.form->ClientHeight()));
        EXPECT_EQ(row.background->Picture()->Width(), row.form->ClientWidth());
        EXPECT_EQ(row.background->Picture()->Height(), row.form->ClientHeight());
    }
    ExpectControls(frmFileList, {
                                    {"ImgFrame1", "TImgFrame", 0, 0, 178, 599, true},
                                    {"BtnMinimize", "TBmButton", 136, 4, 18, 18, true},
                                    {"BtnClose", "TBmButton", 156, 4, 18, 18, true},
                                    {"lbFileList", "TListBox", 15, 42, 148, 515, true},
                                    {"ListBox2", "TListBox", 15, 564, 148, 24, false},
                                });
    EXPECT_TRUE(frmFileList->lbFileList->Sorted());
    ExpectControls(frmDownload, {
                                    {"ImgBackground", "TImgFrame", 0, 0, 535, 191, true},
                                    {"ImgFrame2", "TImgFrame", 40, 46, 32, 32, true},
                                    {"ProgressTransfer", "TBmGauge", 40, 100, 455, 49, true},
                                    {"BtnClose", "TBmButton", 513, 4, 18, 18, true},
                                });
    for (TBmButton* button : {frmFileList->BtnMinimize, frmFileList->BtnClose, frmDownload->BtnClose}) {
        EXPECT_EQ(button->TotalFrames(), 4);
        EXPECT_EQ(button->Direction(), Bmframe::_Horizontal);
    }
    EXPECT_EQ(frmDownload->ProgressTransfer->Direction(), Bmframe::_Horizontal);
}

TEST_F(PlaybackWindowsTest, DownloadGaugeShowsItsLevelOverTheBackground) {
    Application->CreateForm(frmDownload);
    frmDownload->ProgressTransfer->SetMaximumLevel(100);
    frmDownload->ProgressTransfer->SetCurrentLevel(40);
    frmDownload->Show();
    const form_testing::TSnapshot picture = Snapshot(frmDownload, "downloadLevel");
    // 40 of 100 on 455 pixels: the full half up to x 182, the empty half after it.
    EXPECT_EQ(ClientPixel(picture, frmDownload, 40 + 100, 100 + 24),
              SkinPixel("download_gauge", 100, 49 + 24));
    EXPECT_EQ(ClientPixel(picture, frmDownload, 40 + 300, 100 + 24), SkinPixel("download_gauge", 300, 24));
    EXPECT_NE(SkinPixel("download_gauge", 100, 49 + 24), SkinPixel("download_gauge", 300, 24));
    // The icon, the close button and the background around them.
    EXPECT_EQ(ClientPixel(picture, frmDownload, 40 + 16, 46 + 16), SkinPixel("download_icon", 16, 16));
    EXPECT_EQ(ClientPixel(picture, frmDownload, 513 + 9, 4 + 9), SkinPixel("btn_close", 9, 9));
    EXPECT_EQ(ClientPixel(picture, frmDownload, 300, 175), SkinPixel("download_bg", 300, 175));
}

TEST_F(PlaybackWindowsTest, ChoosersStackTheirButtons) {
    Application->CreateForm(FrmSerDevice);
    ExpectControls(FrmSerDevice, {
                                     {"btnHDD", "TButton", 16, 16, 169, 33, true},
                                     {"btnCF", "TButton", 16, 56, 169, 33, true},
                                     {"btnSD", "TButton", 16, 96, 169, 33, true},
                                     {"btnCancel", "TButton", 16, 144, 169, 33, true},
                                 });
    EXPECT_EQ(FrmSerDevice->btnCancel->Caption(), "CLOSE");
    Application->CreateForm(frmLocalSearch);
    ExpectControls(frmLocalSearch, {
                                       {"btnFile", "TButton", 16, 16, 169, 33, true},
                                       {"btnCalendar", "TButton", 16, 56, 169, 33, true},
                                       {"btnCancel", "TButton", 16, 104, 169, 33, true},
                                   });
    EXPECT_EQ(frmLocalSearch->btnCalendar->Caption(), "CALENDAR");
}

TEST_F(PlaybackWindowsTest, FileTableRowsAndPager) {
    Application->CreateForm(FrmFileTable);
    TButton* rows[] = {FrmFileTable->btn1, FrmFileTable->btn2, FrmFileTable->btn3, FrmFileTable->btn4,
                       FrmFileTable->btn5, FrmFileTable->btn6, FrmFileTable->btn7, FrmFileTable->btn8};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(rows[i]->BoundsRect(), Rect(16, 88 + 56 * i, 16 + 449, 88 + 56 * i + 41));
        EXPECT_EQ(rows[i]->Caption(), "");
    }
    ExpectControls(FrmFileTable, {
                                     {"btnCancel", "TButton", 384, 537, 81, 25, true},
                                     {"BmButton1", "TBmButton", 300, 15, 24, 24, true},
                                     {"BmButton2", "TBmButton", 420, 15, 24, 24, true},
                                 });
    for (TBmButton* arrow : {FrmFileTable->BmButton1, FrmFileTable->BmButton2}) {
        EXPECT_EQ(arrow->TotalFrames(), 2);
        EXPECT_EQ(arrow->Direction(), Bmframe::_Vertical);
    }
    // Four digits of page put the page text at 336.
    EXPECT_EQ(FrmFileTable->lbPage->Caption(), "0000/0000");
    EXPECT_EQ(FrmFileTable->lbPage->Left(), 336);
    // The pager's arrows stay clear of the page text at its widest.
    EXPECT_LE(FrmFileTable->BmButton1->Left() + FrmFileTable->BmButton1->Width(), 336);
    EXPECT_LE(FrmFileTable->lbPage->Left() + FrmFileTable->lbPage->Width(), FrmFileTable->BmButton2->Left());
}

TEST_F(PlaybackWindowsTest, FileTableHeadingsStandOverTheirColumns) {
    Application->CreateForm(FrmFileTable);
    // A row caption: event mark, update time, start time, the end of the recorder id.
    const std::string caption = "!  10/01 17:05:10  2007/10/01 17:04:30  B2C3D4";
    TButton* row = FrmFileTable->btn1;
    row->SetCaption(caption);
    TBitmap measure(10, 10);
    TCanvas* canvas = measure.Canvas();
    canvas->Font()->Assign(row->Font());
    const int width = canvas->TextWidth(caption);
    // Fixed pitch keeps the columns of all rows under each other, and the caption fits its button.
    EXPECT_EQ(canvas->TextWidth("!"), canvas->TextWidth(" "));
    EXPECT_LT(width, row->Width() - 16);
    const int start = row->Left() + (row->Width() - width) / 2;
    struct {
        TLabel* heading;
        const char* before;
    } const columns[] = {{FrmFileTable->lbBackup, "!  "},
                         {FrmFileTable->lbSearch, "!  10/01 17:05:10  "},
                         {FrmFileTable->lbDevice, "!  10/01 17:05:10  2007/10/01 17:04:30  "}};
    for (const auto& column : columns) {
        SCOPED_TRACE(column.heading->Name());
        EXPECT_NEAR(column.heading->Left(), start + canvas->TextWidth(column.before), 6);
    }
    FrmFileTable->Show();
    Snapshot(FrmFileTable, "FileTableRow");
}

TEST_F(PlaybackWindowsTest, BackupWindowIsCreatedDisabled) {
    Application->CreateForm(frmBackup);
    EXPECT_FALSE(frmBackup->Enabled());
    ExpectControls(frmBackup, {
                                  {"cmbType", "TComboBox", 128, 76, 121, 21, true},
                                  {"edtPath", "TEdit", 128, 108, 225, 21, true},
                                  {"btnBrowse", "TButton", 361, 108, 24, 21, true},
                                  {"lbPath", "TListBox", 128, 132, 225, 17, false},
                                  {"btnBackupStart", "TButton", 191, 208, 105, 25, true},
                                  {"btnCancel", "TButton", 304, 208, 81, 25, true},
                              });
    ASSERT_EQ(frmBackup->cmbType->Items()->Count(), 2);
    EXPECT_EQ(frmBackup->cmbType->Items()->Strings(0), "ALL");
    EXPECT_EQ(frmBackup->cmbType->Items()->Strings(1), "EVENT");
    EXPECT_EQ(frmBackup->btnBrowse->Caption(), "...");
    // BACKUP and FREE are in a 10-point font.
    EXPECT_EQ(frmBackup->lbBackup->Font()->Size(), 10);
    EXPECT_EQ(frmBackup->lbFree->Font()->Size(), 10);
    EXPECT_FALSE(frmBackup->TimerSD->Enabled());
    EXPECT_EQ(frmBackup->TimerSD->Interval(), 1u);
    // Labels of one row share a line.
    for (TLabel* label : {frmBackup->lbSTime, frmBackup->lbETime, frmBackup->lbType,
                          frmBackup->lbBackupLocation, frmBackup->lbBackup, frmBackup->lbFree})
        EXPECT_EQ(label->Left(), 16) << label->Name();
    EXPECT_EQ(frmBackup->lbStartTime->Top(), frmBackup->lbSTime->Top());
    EXPECT_EQ(frmBackup->lbSize->Top(), frmBackup->lbBackup->Top());
    EXPECT_EQ(frmBackup->lbFreeSize->Top(), frmBackup->lbFree->Top());
}

TEST_F(PlaybackWindowsTest, MapWindowBrowserAreaFillsIt) {
    Application->CreateForm(FrmHtmlMap);
    ExpectControls(FrmHtmlMap, {{"CppWebBrowser", "TCppWebBrowser", 0, 0, 336, 315, true},
                                {"ImageMap32", "TImage32", 0, 0, 336, 315, true}});
}

// The still picture lies over the browser area, unscaled and unmoved, until the map is re-centred.
TEST_F(PlaybackWindowsTest, MapWindowStillPictureCoversTheBrowser) {
    Application->CreateForm(FrmHtmlMap);
    TImage32* image = FrmHtmlMap->ImageMap32;
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Parent(), FrmHtmlMap);
    EXPECT_EQ(FrmHtmlMap->ControlCount(), 2);
    EXPECT_EQ(FrmHtmlMap->Controls(1), image) << "the picture is on top of the browser";
    EXPECT_EQ(image->Bitmap()->Width(), 336);
    EXPECT_EQ(image->Bitmap()->Height(), 315);
    EXPECT_EQ(image->Bitmap()->ResamplerClassName(), "TNearestResampler");
    EXPECT_EQ(image->BitmapAlign(), baTopLeft);
    EXPECT_EQ(image->ScaleMode(), smNormal);
    EXPECT_EQ(image->Scale(), 1.0f);
    EXPECT_EQ(image->RepaintMode(), rmFull);
    EXPECT_EQ(image->TabOrder(), 1);
    EXPECT_EQ(image->GetBitmapRect(), Rect(0, 0, 336, 315));
    EXPECT_EQ(image->Buffer()->Width(), 376);
    EXPECT_EQ(image->Buffer()->Height(), 355);

    FrmHtmlMap->Show();
    form_testing::ProcessEvents();
    const auto picture = Snapshot(FrmHtmlMap, "HtmlMap");
    for (const TPoint p : {Point(2, 2), Point(167, 157), Point(60, 240), Point(250, 240), Point(333, 312)}) {
        SCOPED_TRACE(testing::Message() << p.X << "," << p.Y);
        EXPECT_EQ(ClientPixel(picture, FrmHtmlMap, p.X, p.Y), SkinPixel("map_still", p.X, p.Y));
    }

    // Hidden, it shows the browser area again.
    image->SetVisible(false);
    const auto uncovered = Snapshot(FrmHtmlMap, "HtmlMap_browser");
    EXPECT_EQ(ClientPixel(uncovered, FrmHtmlMap, 60, 240), clWhite);
}

} // namespace
