// What the forms tests share: the offscreen platform, a fixture that leaves no application state
// behind, a resource folder with the example's picture, and the example form with every control kind.
#pragma once

#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace vcl_test {

// Before any Qt object exists: tests never need a display.
inline const bool kOffscreen = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return true;
}();

class VclTest : public ::testing::Test {
protected:
    void TearDown() override { form_testing::ResetApplication(); }
};

// A resource root holding skins/example_strip.bmp: 64 x 8, left half red, right half blue.
class ExampleResources {
public:
    ExampleResources() {
        std::filesystem::create_directories(dir_.Path() / "skins");
        TBitmap bitmap(64, 8);
        bitmap.SetPixelFormat(pf24bit);
        bitmap.Canvas()->Brush()->SetColor(clRed);
        bitmap.Canvas()->FillRect(Rect(0, 0, 32, 8));
        bitmap.Canvas()->Brush()->SetColor(clBlue);
        bitmap.Canvas()->FillRect(Rect(32, 0, 64, 8));
        bitmap.SaveToFile(dir_.File("skins/example_strip.bmp"));
        previous_ = FormResourceRoot();
        SetFormResourceRoot(dir_.Path().string());
    }
    ~ExampleResources() { SetFormResourceRoot(previous_); }
    const testing_support::TempDir& Dir() const { return dir_; }

private:
    testing_support::TempDir dir_;
    std::string previous_;
};

// The form of tests/fixtures/forms/Example.dfm; its handlers record what happened.
class TExampleForm : public TForm {
public:
    explicit TExampleForm(TComponent* owner, const std::string& file = "") : TForm(owner) {
        LoadDefinitionFile(file.empty() ? testing_support::FixturePath("forms/Example.dfm") : file,
                           Bindings());
    }

    TImage* Background = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* Edit1 = nullptr;
    TMaskEdit* MaskEdit1 = nullptr;
    TMemo* Memo1 = nullptr;
    TButton* Button1 = nullptr;
    TBitBtn* BitBtn1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TRadioButton* rbtAdmin = nullptr;
    TRadioButton* rbtUser = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TListBox* ListBox1 = nullptr;
    TScrollBar* ScrollBar1 = nullptr;
    TPanel* Panel1 = nullptr;
    TBevel* Bevel1 = nullptr;
    TPaintBox* PaintBox1 = nullptr;
    TStringGrid* StringGrid1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TTabSheet* TabSheet3 = nullptr;
    TPanel* PanelBottom = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* MenuItemQuad = nullptr;
    TMenuItem* MenuItemCam1 = nullptr;
    TMenuItem* MenuItemPrintCam1 = nullptr;
    TTimer* TimerDialogPosition = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;

    std::vector<std::string> calls;
    int timerTicks = 0;
    bool allowClose = true;
    TCloseAction closeAction = caHide;
    std::vector<WORD> shortCuts;
    std::vector<WORD> previewKeys;
    bool swallowShortCuts = false;

    void FormCreate(TObject*) { calls.push_back("FormCreate"); }
    void FormShow(TObject*) { calls.push_back("FormShow"); }
    void FormClose(TObject*, TCloseAction& action) {
        calls.push_back("FormClose");
        action = closeAction;
    }
    void FormCloseQuery(TObject*, bool& canClose) {
        calls.push_back("FormCloseQuery");
        canClose = allowClose;
    }
    void FormKeyDown(TObject*, WORD& key, TShiftState) { previewKeys.push_back(key); }
    void FormShortCut(TWMKey& message, bool& handled) {
        shortCuts.push_back(message.CharCode);
        handled = swallowShortCuts;
    }
    void BackgroundMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
        calls.push_back("BackgroundMouseDown");
        if (button == mbLeft) {
            ReleaseCapture();
            Perform(WM_SYSCOMMAND, SC_DRAGMOVE, 0);
            calls.push_back("DragEnded");
        }
    }
    void Edit1Change(TObject*) { calls.push_back("Edit1Change"); }
    void Edit1KeyPress(TObject*, char& key) {
        // Digits and dots only; a comma becomes a dot.
        if (key == ',')
            key = '.';
        else if (key != '.' && key != '\b' && (key < '0' || key > '9'))
            key = 0;
    }
    void Button1Click(TObject*) { calls.push_back("Button1Click"); }
    void CheckBox1Click(TObject*) { calls.push_back("CheckBox1Click"); }
    void rbtAdminClick(TObject*) { calls.push_back("rbtAdminClick"); }
    void rbtUserClick(TObject*) { calls.push_back("rbtUserClick"); }
    void ComboBox1Change(TObject*) { calls.push_back("ComboBox1Change"); }
    void ListBox1Click(TObject*) { calls.push_back("ListBox1Click"); }
    void ScrollBar1Change(TObject*) { calls.push_back("ScrollBar1Change"); }
    void PaintBox1Paint(TObject*) {
        TCanvas* canvas = PaintBox1->Canvas();
        canvas->Brush()->SetColor(clYellow);
        canvas->FillRect(Rect(0, 0, PaintBox1->Width(), PaintBox1->Height()));
        canvas->Pen()->SetColor(clRed);
        canvas->MoveTo(0, 0);
        canvas->LineTo(PaintBox1->Width(), PaintBox1->Height());
        canvas->Brush()->SetStyle(bsClear);
        canvas->TextOut(8, 30, "paint box");
    }
    void StringGrid1DrawCell(TObject*, int col, int row, TRect rect, TGridDrawState) {
        if ((col + row) % 5 == 0) {
            StringGrid1->Canvas()->Brush()->SetColor(clAqua);
            StringGrid1->Canvas()->FillRect(rect);
        }
    }
    void StringGrid1MouseDown(TObject*, TMouseButton, TShiftState, int x, int y) {
        int col = -1, row = -1;
        StringGrid1->MouseToCell(x, y, col, row);
        calls.push_back("Grid " + std::to_string(col) + "," + std::to_string(row));
    }
    void PageControl1Change(TObject*) { calls.push_back("PageControl1Change"); }
    void MenuItemClick(TObject* sender) {
        calls.push_back("Menu " + static_cast<TMenuItem*>(sender)->Name());
    }
    void TimerDialogPositionTimer(TObject*) {
        ++timerTicks;
        TimerDialogPosition->SetEnabled(false);
    }

    static const TFormBindings& Bindings() {
        static const TFormBindings bindings =
            TFormBindings()
                .AddField("Background", &TExampleForm::Background)
                .AddField("Label1", &TExampleForm::Label1)
                .AddField("Label2", &TExampleForm::Label2)
                .AddField("Edit1", &TExampleForm::Edit1)
                .AddField("MaskEdit1", &TExampleForm::MaskEdit1)
                .AddField("Memo1", &TExampleForm::Memo1)
                .AddField("Button1", &TExampleForm::Button1)
                .AddField("BitBtn1", &TExampleForm::BitBtn1)
                .AddField("CheckBox1", &TExampleForm::CheckBox1)
                .AddField("GroupBox1", &TExampleForm::GroupBox1)
                .AddField("rbtAdmin", &TExampleForm::rbtAdmin)
                .AddField("rbtUser", &TExampleForm::rbtUser)
                .AddField("ComboBox1", &TExampleForm::ComboBox1)
                .AddField("ListBox1", &TExampleForm::ListBox1)
                .AddField("ScrollBar1", &TExampleForm::ScrollBar1)
                .AddField("Panel1", &TExampleForm::Panel1)
                .AddField("Bevel1", &TExampleForm::Bevel1)
                .AddField("PaintBox1", &TExampleForm::PaintBox1)
                .AddField("StringGrid1", &TExampleForm::StringGrid1)
                .AddField("PageControl1", &TExampleForm::PageControl1)
                .AddField("TabSheet1", &TExampleForm::TabSheet1)
                .AddField("TabSheet2", &TExampleForm::TabSheet2)
                .AddField("TabSheet3", &TExampleForm::TabSheet3)
                .AddField("PanelBottom", &TExampleForm::PanelBottom)
                .AddField("PopupMenu1", &TExampleForm::PopupMenu1)
                .AddField("MenuItemQuad", &TExampleForm::MenuItemQuad)
                .AddField("MenuItemCam1", &TExampleForm::MenuItemCam1)
                .AddField("MenuItemPrintCam1", &TExampleForm::MenuItemPrintCam1)
                .AddField("TimerDialogPosition", &TExampleForm::TimerDialogPosition)
                .AddField("OpenDialog1", &TExampleForm::OpenDialog1)
                .AddField("SaveDialog1", &TExampleForm::SaveDialog1)
                .AddMethod("FormCreate", &TExampleForm::FormCreate)
                .AddMethod("FormShow", &TExampleForm::FormShow)
                .AddMethod("FormClose", &TExampleForm::FormClose)
                .AddMethod("FormCloseQuery", &TExampleForm::FormCloseQuery)
                .AddMethod("FormKeyDown", &TExampleForm::FormKeyDown)
                .AddMethod("FormShortCut", &TExampleForm::FormShortCut)
                .AddMethod("BackgroundMouseDown", &TExampleForm::BackgroundMouseDown)
                .AddMethod("Edit1Change", &TExampleForm::Edit1Change)
                .AddMethod("Edit1KeyPress", &TExampleForm::Edit1KeyPress)
                .AddMethod("Button1Click", &TExampleForm::Button1Click)
                .AddMethod("CheckBox1Click", &TExampleForm::CheckBox1Click)
                .AddMethod("rbtAdminClick", &TExampleForm::rbtAdminClick)
                .AddMethod("rbtUserClick", &TExampleForm::rbtUserClick)
                .AddMethod("ComboBox1Change", &TExampleForm::ComboBox1Change)
                .AddMethod("ListBox1Click", &TExampleForm::ListBox1Click)
                .AddMethod("ScrollBar1Change", &TExampleForm::ScrollBar1Change)
                .AddMethod("PaintBox1Paint", &TExampleForm::PaintBox1Paint)
                .AddMethod("StringGrid1DrawCell", &TExampleForm::StringGrid1DrawCell)
                .AddMethod("StringGrid1MouseDown", &TExampleForm::StringGrid1MouseDown)
                .AddMethod("PageControl1Change", &TExampleForm::PageControl1Change)
                .AddMethod("MenuItemClick", &TExampleForm::MenuItemClick)
                .AddMethod("TimerDialogPositionTimer", &TExampleForm::TimerDialogPositionTimer);
        return bindings;
    }
};

inline int Count(const std::vector<std::string>& calls, const std::string& name) {
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

} // namespace vcl_test
