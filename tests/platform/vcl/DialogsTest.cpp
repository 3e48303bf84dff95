#include "tests/platform/vcl/VclTestSupport.h"

namespace {

using namespace vcl_test;

class DialogsTest : public VclTest {};

TEST_F(DialogsTest, FiltersBecomeNameFiltersMatchingEitherCase) {
    const struct {
        const char* filter;
        std::vector<std::string> names;
    } cases[] = {
        {"", {}},
        {"System Image|*.BIN;*.TAR", {"System Image (*.BIN *.bin *.TAR *.tar)"}},
        {"JPEG (*.JPG)|*.jpg", {"JPEG (*.JPG) (*.jpg *.JPG)"}},
        {"Text|*.txt|All|*.*", {"Text (*.txt *.TXT)", "All (*.*)"}},
        {"Just a description", {"Just a description (*)"}},
        {"|*.log", {"*.log *.LOG (*.log *.LOG)"}},
        {"Odd|*.a|Trailing", {"Odd (*.a *.A)", "Trailing (*)"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DialogNameFilters(c.filter), c.names) << c.filter;
}

TEST_F(DialogsTest, DefaultExtensionOnlyForNamesWithoutOne) {
    const struct {
        const char* name;
        const char* ext;
        const char* result;
    } cases[] = {
        {"/tmp/log", "txt", "/tmp/log.txt"},
        {"/tmp/log.csv", "txt", "/tmp/log.csv"},
        {"/tmp/dir.d/log", "txt", "/tmp/dir.d/log.txt"},
        {"/tmp/log", ".jpg", "/tmp/log.jpg"},
        {"/tmp/log", "", "/tmp/log"},
        {"", "txt", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApplyDefaultExt(c.name, c.ext), c.result) << c.name;
}

TEST_F(DialogsTest, FileDialogsAnswerThroughTheHookAndCancelWithoutOne) {
    auto* owner = new TForm(Application);
    auto* save = new TSaveDialog(owner);
    save->SetFilter("JPEG (*.JPG)|*.jpg");
    save->SetDefaultExt("jpg");
    save->SetFileName("*.jpg");
    save->SetInitialDir("/tmp");
    {
        form_testing::ScopedFileAnswer answer("/tmp/snapshot");
        ASSERT_TRUE(save->Execute());
        EXPECT_EQ(save->FileName(), "/tmp/snapshot.jpg");
        ASSERT_EQ(answer.Asked().size(), 1u);
        EXPECT_TRUE(answer.Asked()[0].Save);
        EXPECT_EQ(answer.Asked()[0].Filter, "JPEG (*.JPG)|*.jpg");
        EXPECT_EQ(answer.Asked()[0].InitialDir, "/tmp");
        EXPECT_EQ(answer.Asked()[0].FileName, "*.jpg");
        EXPECT_EQ(save->Handle(), nullptr);
    }
    {
        form_testing::ScopedFileAnswer cancel("");
        EXPECT_FALSE(save->Execute());
        EXPECT_EQ(save->FileName(), "/tmp/snapshot.jpg");
    }
    auto* open = new TOpenDialog(owner);
    EXPECT_FALSE(open->Execute()); // nobody answers: cancelled, not waited for
    EXPECT_EQ(open->FileName(), "");
}

TEST_F(DialogsTest, FolderChooserAnswersThroughTheHook) {
    std::string folder = "/start";
    {
        form_testing::ScopedFolderAnswer answer("/chosen/folder");
        EXPECT_TRUE(SelectDirectory("Select Directory", "", folder));
        EXPECT_EQ(folder, "/chosen/folder");
        ASSERT_EQ(answer.Asked().size(), 1u);
        EXPECT_EQ(answer.Asked()[0].Caption, "Select Directory");
        EXPECT_EQ(answer.Asked()[0].Directory, "/start");
    }
    {
        form_testing::ScopedFolderAnswer cancel("");
        EXPECT_FALSE(SelectDirectory("x", "", folder));
        EXPECT_EQ(folder, "/chosen/folder");
    }
    EXPECT_FALSE(SelectDirectory("nobody", "", folder));
}

TEST_F(DialogsTest, MessageBoxLayoutHoldsItsTextAndButtons) {
    const std::string text = "A rather long message that a person reads before deciding what to do next.";
    std::unique_ptr<TForm> box(CreateMessageDialog(text, mtWarning, mbYesNoCancel));
    EXPECT_EQ(box->Caption(), "Warning");
    EXPECT_EQ(box->BorderStyle(), bsDialog);
    auto* label = dynamic_cast<TLabel*>(box->FindComponent("Message"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), text);
    TControl* previous = nullptr;
    for (const char* name : {"Yes", "No", "Cancel"}) {
        auto* button = dynamic_cast<TButton*>(box->FindComponent(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_GE(button->Top(), label->Top() + label->Height());
        EXPECT_LE(button->Left() + button->Width(), box->ClientWidth());
        if (previous) {
            EXPECT_GT(button->Left(), previous->Left() + previous->Width() - 1);
        }
        previous = button;
    }
    EXPECT_LE(label->Left() + label->Width(), box->ClientWidth());
    EXPECT_TRUE(dynamic_cast<TButton*>(box->FindComponent("Yes"))->Default());
    EXPECT_TRUE(dynamic_cast<TButton*>(box->FindComponent("Cancel"))->Cancel());
    EXPECT_EQ(static_cast<TMessageForm*>(box.get())->CancelResult(), mrCancel);
}

TEST_F(DialogsTest, PopupMenusChooseThroughTheHook) {
    ExampleResources resources;
    auto* form = new TExampleForm(Application);
    TPoint asked;
    TMenuItem* choose = form->MenuItemCam1;
    const TPopupMenuHook previous = SetPopupMenuHook([&](TPopupMenu&, TPoint at) {
        asked = at;
        return choose;
    });
    form->PopupMenu1->Popup(300, 200);
    EXPECT_EQ(asked, Point(300, 200));
    EXPECT_EQ(form->calls.back(), "Menu MenuItemCam1");
    // Radio items of one group: checking one turns off the others.
    form->MenuItemCam1->SetChecked(true);
    EXPECT_FALSE(form->MenuItemQuad->Checked());
    // A disabled item, or none, clicks nothing.
    form->calls.clear();
    form->MenuItemPrintCam1->SetEnabled(false);
    choose = form->MenuItemPrintCam1;
    form->PopupMenu1->Popup(0, 0);
    choose = nullptr;
    form->PopupMenu1->Popup(0, 0);
    EXPECT_TRUE(form->calls.empty());
    // A right click on the form opens its menu for the control that was clicked.
    choose = form->MenuItemQuad;
    form->Show();
    form->calls.clear();
    form_testing::Click(form->Panel1, Point(10, 10), mbRight);
    EXPECT_EQ(form->calls, std::vector<std::string>{"Menu MenuItemQuad"});
    EXPECT_EQ(form->PopupMenu1->PopupComponent(), form->Panel1);
    SetPopupMenuHook(previous);
    // Without a hook nothing is shown and nothing chosen.
    form->calls.clear();
    form->PopupMenu1->Popup(0, 0);
    EXPECT_TRUE(form->calls.empty());
}

TEST_F(DialogsTest, MenuTreesRefuseLoopsAndBadIndexes) {
    auto* owner = new TForm(Application);
    auto* menu = new TPopupMenu(owner);
    auto* parent = new TMenuItem(owner);
    auto* child = new TMenuItem(owner);
    menu->Items()->Add(parent);
    parent->Add(child);
    EXPECT_THROW(child->Add(parent), EMenuError);
    EXPECT_THROW(menu->Items()->Add(child), EMenuError);
    EXPECT_THROW(parent->Items(1), EMenuError);
    EXPECT_THROW(parent->Insert(3, new TMenuItem(owner)), EMenuError);
    auto* toggle = new TMenuItem(owner);
    toggle->SetAutoCheck(true);
    toggle->Click();
    EXPECT_TRUE(toggle->Checked());
    toggle->Click();
    EXPECT_FALSE(toggle->Checked());
    delete parent; // its child goes with it
    EXPECT_EQ(menu->Items()->Count(), 0);
    EXPECT_EQ(owner->ComponentCount(), 3); // menu, the stray item from Insert, toggle
}

TEST_F(DialogsTest, ImagePlacesItsPictureByStretchCentreAndProportion) {
    auto* owner = new TForm(Application);
    auto* image = new TImage(owner);
    image->SetBounds(0, 0, 100, 50);
    TBitmap picture(40, 20);
    image->Picture()->SetGraphic(&picture);
    const struct {
        bool stretch, center, proportional;
        TRect dest;
    } cases[] = {
        {false, false, false, Rect(0, 0, 40, 20)}, {false, true, false, Rect(30, 15, 70, 35)},
        {true, false, false, Rect(0, 0, 100, 50)}, {true, false, true, Rect(0, 0, 100, 50)},
        {true, true, true, Rect(0, 0, 100, 50)},
    };
    for (const auto& c : cases) {
        image->SetStretch(c.stretch);
        image->SetCenter(c.center);
        image->SetProportional(c.proportional);
        EXPECT_EQ(image->DestRect(), c.dest);
    }
    image->SetBounds(0, 0, 100, 100);
    EXPECT_EQ(image->DestRect(), Rect(0, 25, 100, 75)); // proportional, centred: 100 x 50
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 40);
    EXPECT_EQ(image->Height(), 20);
    EXPECT_THROW(
        {
            TIcon icon;
            image->Picture()->SetGraphic(&icon);
            image->Canvas();
        },
        EInvalidOperation);
}

TEST_F(DialogsTest, MessageBoxButtonsSpeakTheProgramsLanguage) {
    struct Case {
        const char* language;
        const char* ok;
        const char* cancel;
        const char* yes;
    };
    // The toolkit's own translations; a language without tables of the program stays English.
    const Case cases[] = {
        {"3082", "Aceptar", "Cancelar", "&S\u00ed"},
        {"1042", "\ud655\uc778", "\ucde8\uc18c", "\uc608(&Y)"},
        {"1041", "OK", "\u30ad\u30e3\u30f3\u30bb\u30eb", "\u306f\u3044(&Y)"},
        {"1031", "OK", "Cancel", "&Yes"},
        {"1033", "OK", "Cancel", "&Yes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        testing_support::ScopedEnv language("HARBEK_LANGID", c.language);
        Application->Initialize();
        std::unique_ptr<TForm> box(
            CreateMessageDialog("?", mtConfirmation, TMsgDlgButtons{mbYes, mbOK, mbCancel}));
        auto caption = [&](const char* name) {
            return dynamic_cast<TButton*>(box->FindComponent(name))->Caption();
        };
        EXPECT_EQ(caption("OK"), c.ok);
        EXPECT_EQ(caption("Cancel"), c.cancel);
        EXPECT_EQ(caption("Yes"), c.yes);
    }
}

} // namespace
