#include "setup/System.h"

#include "setup/Menu.h"
#include "setup/PageSupport.h"
#include "setup/SetupRules.h"

#include "platform/core/StrUtils.h"

#include <array>

using namespace setup_pages;

namespace {

constexpr int kStartMonth = 2, kStartWeek = 4, kStartDay = 0, kEndMonth = 9, kEndWeek = 4, kEndDay = 0;
// untranslated: the recorder's setup words
constexpr std::array<const char*, 7> kDays = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};

// Stored numbers count from 1, as OK writes them; one outside the list keeps the index it had.
void SelectStored(const TConfigAccess& config, const char* key, TComboBox* combo, int& index) {
    const std::optional<std::string> value = config.Value(key);
    if (!value) return;
    const int stored = StrToInt(*value);
    if (stored < 1 || stored > combo->Items()->Count()) return;
    index = stored - 1;
    combo->SetItemIndex(index);
}

} // namespace

TFormVar<TfrmSystem> frmSystem;

TfrmSystem::TfrmSystem(TComponent* owner) : TForm(owner) {
    LoadDefinition("System", Bindings());
}

const TFormBindings& TfrmSystem::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("Label1", &TfrmSystem::Label1)
                                              .AddField("edtTitle", &TfrmSystem::edtTitle)
                                              .AddField("Label6", &TfrmSystem::Label6)
                                              .AddField("rbtOn", &TfrmSystem::rbtOn)
                                              .AddField("rbtOff", &TfrmSystem::rbtOff)
                                              .AddField("Label4", &TfrmSystem::Label4)
                                              .AddField("Label5", &TfrmSystem::Label5)
                                              .AddField("Label2", &TfrmSystem::Label2)
                                              .AddField("cmbStart_m", &TfrmSystem::cmbStart_m)
                                              .AddField("cmbStart_w", &TfrmSystem::cmbStart_w)
                                              .AddField("cmbStart_d", &TfrmSystem::cmbStart_d)
                                              .AddField("Label3", &TfrmSystem::Label3)
                                              .AddField("cmbEnd_m", &TfrmSystem::cmbEnd_m)
                                              .AddField("cmbEnd_w", &TfrmSystem::cmbEnd_w)
                                              .AddField("cmbEnd_d", &TfrmSystem::cmbEnd_d)
                                              .AddField("btnOk", &TfrmSystem::btnOk)
                                              .AddField("btnCancel", &TfrmSystem::btnCancel)
                                              .AddMethod("FormShow", &TfrmSystem::FormShow)
                                              .AddMethod("rbtOnClick", &TfrmSystem::rbtOnClick)
                                              .AddMethod("rbtOffClick", &TfrmSystem::rbtOffClick)
                                              .AddMethod("cmbStart_mChange", &TfrmSystem::cmbStart_mChange)
                                              .AddMethod("cmbStart_wChange", &TfrmSystem::cmbStart_wChange)
                                              .AddMethod("cmbStart_dChange", &TfrmSystem::cmbStart_dChange)
                                              .AddMethod("cmbEnd_mChange", &TfrmSystem::cmbEnd_mChange)
                                              .AddMethod("cmbEnd_wChange", &TfrmSystem::cmbEnd_wChange)
                                              .AddMethod("cmbEnd_dChange", &TfrmSystem::cmbEnd_dChange)
                                              .AddMethod("edtTitleKeyDown", &TfrmSystem::edtTitleKeyDown)
                                              .AddMethod("edtTitleKeyPress", &TfrmSystem::edtTitleKeyPress)
                                              .AddMethod("edtTitleKeyUp", &TfrmSystem::edtTitleKeyUp)
                                              .AddMethod("btnOkClick", &TfrmSystem::btnOkClick)
                                              .AddMethod("btnCancelClick", &TfrmSystem::btnCancelClick);
    return bindings;
}

void TfrmSystem::ClearLists() {
    for (TComboBox* combo : {cmbStart_m, cmbStart_w, cmbStart_d, cmbEnd_m, cmbEnd_w, cmbEnd_d})
        combo->Items()->Clear();
}

void TfrmSystem::LoadSettings() {
    Title.clear();
    SummerTime = 0;
    TitleFilter = TTitleFilter();
    StartMonth = kStartMonth;
    StartWeek = kStartWeek;
    StartDay = kStartDay;
    EndMonth = kEndMonth;
    EndWeek = kEndWeek;
    EndDay = kEndDay;
    if (frmMenu != nullptr) {
        frmMenu->LoadConfigIni();
        Config = frmMenu->Config();
    }
    // Lists left from a page closed some other way would double.
    ClearLists();
    for (int month = 1; month <= 12; ++month) {
        cmbStart_m->Items()->Add(IntToStr(month));
        cmbEnd_m->Items()->Add(IntToStr(month));
    }
    for (int week = 1; week <= 5; ++week) {
        cmbStart_w->Items()->Add(IntToStr(week));
        cmbEnd_w->Items()->Add(IntToStr(week));
    }
    for (const char* day : kDays) {
        cmbStart_d->Items()->Add(day);
        cmbEnd_d->Items()->Add(day);
    }
    ShowTitle(edtTitle, Title);
    rbtOff->SetChecked(true);
    rbtOffClick(rbtOff);
    cmbStart_m->SetItemIndex(StartMonth);
    cmbStart_w->SetItemIndex(StartWeek);
    cmbStart_d->SetItemIndex(StartDay);
    cmbEnd_m->SetItemIndex(EndMonth);
    cmbEnd_w->SetItemIndex(EndWeek);
    cmbEnd_d->SetItemIndex(EndDay);
    Shown = {Title, SummerTime, Choices()};
    if (!Config.Loaded() || Config.FindSection(kConfigSection) < 0) return;
    if (const std::optional<std::string> title = Config.Value("27_1_1")) {
        Title = *title;
        ShowTitle(edtTitle, Title);
        TitleFilter.LengthBefore = static_cast<int>(Title.size());
    }
    if (const std::optional<std::string> summer = Config.Value("62_1_1")) {
        if (StrToInt(*summer) != 0) {
            rbtOn->SetChecked(true);
            rbtOnClick(rbtOn);
        }
    }
    SelectStored(Config, "63_1_1", cmbStart_m, StartMonth);
    SelectStored(Config, "64_1_1", cmbStart_w, StartWeek);
    SelectStored(Config, "65_1_1", cmbStart_d, StartDay);
    SelectStored(Config, "66_1_1", cmbEnd_m, EndMonth);
    SelectStored(Config, "67_1_1", cmbEnd_w, EndWeek);
    SelectStored(Config, "68_1_1", cmbEnd_d, EndDay);
    Shown = {edtTitle->Text(), SummerTime, Choices()};
}

std::array<int, 6> TfrmSystem::Choices() const {
    return {StartMonth, StartWeek, StartDay, EndMonth, EndWeek, EndDay};
}

void TfrmSystem::FormShow(TObject*) {
    PreparePage(this);
    SetLangCaption(this, 59891);
    SetLangCaption(Label6, 59890);
    SetLangCaption(btnOk, 59981);
    SetLangCaption(btnCancel, 59980);
    btnOk->Font()->SetName(Font()->Name());
    btnCancel->Font()->SetName(Font()->Name());
}

void TfrmSystem::rbtOnClick(TObject*) {
    SummerTime = 1;
    for (TComboBox* combo : {cmbStart_m, cmbStart_w, cmbStart_d, cmbEnd_m, cmbEnd_w, cmbEnd_d})
        combo->SetEnabled(true);
}

void TfrmSystem::rbtOffClick(TObject*) {
    SummerTime = 0;
    for (TComboBox* combo : {cmbStart_m, cmbStart_w, cmbStart_d, cmbEnd_m, cmbEnd_w, cmbEnd_d})
        combo->SetEnabled(false);
}

void TfrmSystem::cmbStart_mChange(TObject*) {
    StartMonth = cmbStart_m->ItemIndex();
}

void TfrmSystem::cmbStart_wChange(TObject*) {
    StartWeek = cmbStart_w->ItemIndex();
}

void TfrmSystem::cmbStart_dChange(TObject*) {
    StartDay = cmbStart_d->ItemIndex();
}

void TfrmSystem::cmbEnd_mChange(TObject*) {
    EndMonth = cmbEnd_m->ItemIndex();
}

void TfrmSystem::cmbEnd_wChange(TObject*) {
    EndWeek = cmbEnd_w->ItemIndex();
}

void TfrmSystem::cmbEnd_dChange(TObject*) {
    EndDay = cmbEnd_d->ItemIndex();
}

void TfrmSystem::edtTitleKeyDown(TObject*, WORD&, TShiftState) {
    TitleFilter.KeyDown(edtTitle);
}

void TfrmSystem::edtTitleKeyPress(TObject*, char& key) {
    TitleFilter.KeyPress(key);
}

void TfrmSystem::edtTitleKeyUp(TObject*, WORD&, TShiftState) {
    TitleFilter.KeyUp(59953);
}

void TfrmSystem::btnOkClick(TObject*) {
    const std::string text = edtTitle->Text();
    const bool titleEdited = text != Shown.title;
    Title = UpperCase(text);
    if (TitleFilter.InvalidKey != 0) {
        SetupBox(LangText(59829), LangText(59891), 0);
        edtTitle->SetText("");
        TitleFilter.InvalidKey = 0;
        return;
    }
    // A title typed or pasted past the filter is refused whole rather than stored as the recorder
    // could not show it; one the recorder's file holds is the recorder's own business.
    for (const char c : titleEdited ? Title : std::string()) {
        if (!TitleKeyAllowed(c) || c == '\r' || c == '\b') {
            SetupBox(LangText(59829), LangText(59891), 0);
            return;
        }
    }
    // Only what the user changed is written: untouched lines keep their bytes.
    Config.StoreEdited("27_1_1", Shown.title, titleEdited ? Title : Shown.title, Title.empty());
    Config.StoreEdited("62_1_1", Shown.summerTime != 0 ? "1" : "", SummerTime != 0 ? "1" : "",
                       SummerTime == 0);
    static constexpr const char* kKeys[] = {"63_1_1", "64_1_1", "65_1_1", "66_1_1", "67_1_1", "68_1_1"};
    static constexpr int kDefaults[] = {kStartMonth, kStartWeek, kStartDay, kEndMonth, kEndWeek, kEndDay};
    const std::array<int, 6> chosen = Choices();
    for (std::size_t i = 0; i < chosen.size(); ++i)
        Config.StoreEdited(kKeys[i], IntToStr(Shown.choices[i] + 1), IntToStr(chosen[i] + 1),
                           chosen[i] == kDefaults[i] || chosen[i] < 0);
    if (frmMenu != nullptr) frmMenu->SetEnabled(true);
    Close();
    ClearLists();
    if (frmMenu != nullptr) frmMenu->Show();
}

void TfrmSystem::btnCancelClick(TObject*) {
    ClearLists();
    if (frmMenu != nullptr) {
        frmMenu->SetEnabled(true);
        frmMenu->Show();
    }
    Close();
}
