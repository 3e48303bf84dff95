#include "tests/platform/vcl/VclTestSupport.h"

#include <fstream>

namespace {

using namespace vcl_test;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

class FormReaderTest : public VclTest {
protected:
    ExampleResources resources;

    // The example definition with one line replaced (or added after `after`).
    std::string Variant(const std::string& from, const std::string& to) {
        std::string text = ReadFileBytes(testing_support::FixturePath("forms/Example.dfm"));
        const auto at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        const std::string file = resources.Dir().File("Variant.dfm");
        WriteFileBytes(file, text);
        return file;
    }

    static int LineOf(const std::string& file, const std::string& fragment) {
        std::ifstream in(file);
        std::string line;
        for (int n = 1; std::getline(in, line); ++n)
            if (line.find(fragment) != std::string::npos) return n;
        return -1;
    }
};

TEST_F(FormReaderTest, EveryPropertyKindLandsOnItsControl) {
    auto* form = new TExampleForm(Application);
    // Form: strings with character codes, sets, enumerations, colours, font, references, events.
    EXPECT_EQ(form->Caption(), "Example \xE2\x80\x94 every control");
    EXPECT_EQ(form->BorderStyle(), bsSingle);
    EXPECT_EQ(form->BorderIcons(), (TBorderIcons{biSystemMenu, biMinimize}));
    EXPECT_EQ(form->ClientWidth(), 640);
    EXPECT_EQ(form->ClientHeight(), 470);
    EXPECT_EQ(form->Left(), 120);
    EXPECT_TRUE(form->Topmost());
    EXPECT_TRUE(form->KeyPreview());
    EXPECT_EQ(form->PopupMenu(), form->PopupMenu1);
    EXPECT_EQ(form->ActiveControl(), form->Edit1);
    EXPECT_EQ(form->calls, std::vector<std::string>{"FormCreate"});
    EXPECT_FALSE(form->Visible());

    EXPECT_EQ(form->Label1->Caption(), "Name:\tit's a label");
    EXPECT_EQ(form->Label1->Font()->Name(), "Arial");
    EXPECT_EQ(form->Label1->Font()->Color(), clNavy);
    EXPECT_EQ(form->Label1->Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_FALSE(form->Label1->ParentFont());
    EXPECT_TRUE(form->Label1->Transparent());
    EXPECT_EQ(form->Label2->Alignment(), taRightJustify);
    EXPECT_TRUE(form->Label2->WordWrap());
    EXPECT_EQ(form->Label2->Width(), 150);
    // The other controls take the form's font.
    EXPECT_EQ(form->Edit1->Font()->Name(), "MS Sans Serif");

    EXPECT_EQ(form->Edit1->Text(), "192.168.0.1");
    EXPECT_EQ(form->Edit1->MaxLength(), 15);
    EXPECT_EQ(form->MaskEdit1->PasswordChar(), '*');
    EXPECT_EQ(form->MaskEdit1->Text(), "secret");
    ASSERT_EQ(form->Memo1->Lines()->Count(), 3);
    EXPECT_EQ(form->Memo1->Lines()->Get(1), "second\tline");
    EXPECT_EQ(form->Memo1->ScrollBars(), ssVertical);
    EXPECT_TRUE(form->Button1->Default());
    EXPECT_EQ(form->Button1->ModalResult(), mrOk);
    EXPECT_EQ(form->BitBtn1->Kind(), bkCancel);
    EXPECT_EQ(form->BitBtn1->Caption(), "Cancel");
    EXPECT_TRUE(form->BitBtn1->Cancel());
    EXPECT_TRUE(form->CheckBox1->Checked());
    EXPECT_EQ(form->rbtUser->Parent(), form->GroupBox1);
    EXPECT_TRUE(form->rbtUser->Checked());
    EXPECT_FALSE(form->rbtAdmin->Checked());
    EXPECT_EQ(form->ComboBox1->Style(), csDropDownList);
    EXPECT_EQ(form->ComboBox1->ItemIndex(), 1);
    EXPECT_EQ(form->ComboBox1->Text(), "EVENT");
    ASSERT_EQ(form->ListBox1->Items()->Count(), 3);
    EXPECT_EQ(form->ListBox1->Items()->Get(0), "alpha:5001");
    EXPECT_EQ(form->ListBox1->Items()->Get(2), "zulu:5000");
    EXPECT_EQ(form->ScrollBar1->Position(), 50);
    EXPECT_EQ(form->Panel1->Color(), static_cast<TColor>(0x00E0FFFF));
    EXPECT_EQ(form->Panel1->BevelInner(), bvLowered);
    EXPECT_EQ(form->Bevel1->Parent(), form->Panel1);
    EXPECT_EQ(form->Bevel1->Shape(), bsTopLine);
    EXPECT_EQ(form->StringGrid1->ColCount(), 12);
    EXPECT_EQ(form->StringGrid1->FixedCols(), 0);
    EXPECT_EQ(form->StringGrid1->DefaultRowHeight(), 26);
    EXPECT_EQ(form->PageControl1->PageCount(), 3);
    EXPECT_EQ(form->PageControl1->ActivePage(), form->TabSheet2);
    EXPECT_FALSE(form->TabSheet3->TabVisible());
    EXPECT_EQ(form->TabSheet2->TabIndex(), 1);
    EXPECT_EQ(form->TabSheet3->TabIndex(), -1);
    // alBottom keeps the panel at the bottom of the client area, full width.
    EXPECT_EQ(form->PanelBottom->Top(), 470 - 30);
    EXPECT_EQ(form->PanelBottom->Width(), 640);

    ASSERT_EQ(form->PopupMenu1->Items()->Count(), 5);
    EXPECT_TRUE(form->MenuItemQuad->Checked());
    EXPECT_TRUE(form->MenuItemQuad->RadioItem());
    EXPECT_EQ(form->MenuItemPrintCam1->Parent()->Caption(), "Print && Save");
    EXPECT_FALSE(form->PopupMenu1->Items()->Items(4)->Visible());
    EXPECT_FALSE(form->TimerDialogPosition->Enabled());
    EXPECT_EQ(form->TimerDialogPosition->Interval(), 1u);
    EXPECT_EQ(form->OpenDialog1->Filter(), "System Image|*.BIN;*.TAR");
    EXPECT_TRUE(form->OpenDialog1->Options().Contains(ofFileMustExist));
    EXPECT_EQ(form->SaveDialog1->DefaultExt(), "txt");
    EXPECT_EQ(form->Background->Picture()->Width(), 64);
}

TEST_F(FormReaderTest, EventsAreBoundToTheFormsMethodsByName) {
    auto* form = new TExampleForm(Application);
    form->Button1->OnClick(form->Button1);
    form->CheckBox1->SetChecked(false);
    form->rbtAdmin->SetChecked(true);
    EXPECT_EQ(form->calls,
              (std::vector<std::string>{"FormCreate", "Button1Click", "CheckBox1Click", "rbtAdminClick"}));
    EXPECT_TRUE(form->Button1->OnClick == TNotifyEvent(form, &TExampleForm::Button1Click));
    EXPECT_FALSE(form->Button1->OnClick == TNotifyEvent(form, &TExampleForm::CheckBox1Click));
    EXPECT_TRUE(form->MenuItemCam1->OnClick == form->MenuItemQuad->OnClick);
}

TEST_F(FormReaderTest, UnknownOrMisfittingNamesFailWithFileLineAndProperty) {
    const struct {
        const char* from;
        const char* to;
        const char* property;
        const char* fragment;
    } cases[] = {
        {"    MaxLength = 15", "    MaxLenght = 15", "MaxLenght", "unknown property of Edit1 (TEdit)"},
        {"    MaxLength = 15", "    MaxLength = 'fifteen'", "MaxLength", "an integer expected"},
        {"  BorderStyle = bsSingle", "  BorderStyle = bsRound", "BorderStyle",
         "'bsRound' is not a valid value"},
        {"  Color = clBtnFace", "  Color = clBtnFaec", "Color", "not a colour"},
        {"    Font.Style = [fsBold, fsUnderline]", "    Font.Style = [fsBold, fsHeavy]", "Font.Style",
         "not a font style"},
        {"    OnClick = Button1Click", "    OnClick = Button2Click", "OnClick", "no method Button2Click"},
        {"    OnClick = Button1Click", "    OnClick = Edit1KeyPress", "OnClick", "does not fit"},
        {"  ActiveControl = Edit1", "  ActiveControl = Edit9", "ActiveControl", "no component named Edit9"},
        {"  ActiveControl = Edit1", "  ActiveControl = Label1", "ActiveControl", "cannot be used here"},
        {"  PopupMenu = PopupMenu1", "  PopupMenu = Panel1", "PopupMenu", "cannot be used here"},
        {"    Picture.FileName = 'skins/example_strip.bmp'", "    Picture.FileName = 'skins/missing.bmp'",
         "Picture.FileName", "not found"},
        {"    ScrollBars = ssNone\n    TabOrder = 11", "    ScrollBars = ssBoth\n    TabOrder = 11",
         "ScrollBars", "without scroll bars"},
        {"    Max = 100", "    Max = 99999999999", "Max", "out of the integer range"},
        {"    Checked = True\n      GroupIndex = 1", "    Checked = Maybe\n      GroupIndex = 1", "Checked",
         "True or False"},
    };
    for (const auto& c : cases) {
        const std::string file = Variant(c.from, c.to);
        const int line = LineOf(file, std::string(c.to).substr(0, std::string(c.to).find('\n')));
        try {
            auto* form = new TExampleForm(nullptr, file);
            delete form;
            ADD_FAILURE() << "accepted: " << c.to;
        } catch (const EFormDefinitionError& e) {
            EXPECT_EQ(e.FileName, file);
            EXPECT_EQ(e.Property, c.property) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
            // References are checked once everything is read, at the line that names them.
            EXPECT_EQ(e.Line, line) << e.what();
        }
    }
}

TEST_F(FormReaderTest, UnknownClassesAndMisfittingComponentsFailWithTheirLine) {
    const struct {
        const char* from;
        const char* to;
        const char* fragment;
    } cases[] = {
        {"object Label2: TLabel", "object Label2: TLabelle", "class TLabelle is not registered"},
        {"object Label2: TLabel", "object Label2: TEdit", "field Label2 does not take a TEdit"},
        {"object Label2: TLabel", "object Label2x: TLabel", "expects a component named Label2"},
        {"object ExampleForm: TExampleForm", "object ExampleForm: TOtherForm", "describes a TOtherForm"},
        {"object Label2: TLabel", "object Label1: TLabel", "named Label1 already exists"},
        {"object Bevel1: TBevel", "object Bevel1: TTimer", "TTimer cannot be placed inside TPanel"},
        {"object Label4: TLabel", "inherited Label4: TLabel", "inherited objects are not supported"},
    };
    for (const auto& c : cases) {
        const std::string file = Variant(c.from, c.to);
        try {
            delete new TExampleForm(nullptr, file);
            ADD_FAILURE() << "accepted: " << c.to;
        } catch (const EFormDefinitionError& e) {
            EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
            EXPECT_GT(e.Line, 0);
        }
    }
}

TEST_F(FormReaderTest, ANonWindowedObjectCannotHoldControls) {
    const std::string file = Variant("    object MenuItemQuad: TMenuItem",
                                     "    object Stray: TLabel\n    end\n    object MenuItemQuad: TMenuItem");
    try {
        delete new TExampleForm(nullptr, file);
        ADD_FAILURE() << "a label inside a popup menu was accepted";
    } catch (const EFormDefinitionError& e) {
        EXPECT_NE(std::string(e.what()).find("cannot be placed inside TPopupMenu"), std::string::npos)
            << e.what();
        EXPECT_EQ(e.Line, LineOf(file, "object Stray: TLabel"));
    }
}

TEST_F(FormReaderTest, AComponentThatGoesAwayClearsItsField) {
    auto* form = new TExampleForm(Application);
    delete form->Memo1;
    EXPECT_EQ(form->Memo1, nullptr);
    delete form->GroupBox1; // takes its radio buttons along
    EXPECT_EQ(form->GroupBox1, nullptr);
    EXPECT_EQ(form->rbtAdmin, nullptr);
    EXPECT_EQ(form->rbtUser, nullptr);
    EXPECT_EQ(form->FindComponent("rbtUser"), nullptr);
}

TEST_F(FormReaderTest, ResourceNamesResolveAgainstTheRoot) {
    EXPECT_EQ(ResolveResourceFile("skins/a.bmp"), (resources.Dir().Path() / "skins/a.bmp").string());
    EXPECT_EQ(ResolveResourceFile("skins\\b.bmp"), (resources.Dir().Path() / "skins/b.bmp").string());
    EXPECT_EQ(ResolveResourceFile("/abs/c.bmp"), "/abs/c.bmp");
}

TEST_F(FormReaderTest, ASecondInstanceOfAFormTakesTheNextFreeName) {
    auto* first = new TExampleForm(Application);
    auto* second = new TExampleForm(Application);
    EXPECT_EQ(first->Name(), "ExampleForm");
    EXPECT_EQ(second->Name(), "ExampleForm_1");
}

} // namespace
