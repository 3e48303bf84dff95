#include "setup/Record2.h"

#include "setup/Menu.h"
#include "setup/PageSupport.h"

#include "platform/core/StrUtils.h"

using namespace setup_pages;

TFormVar<TfrmRecord2> frmRecord2;

TfrmRecord2::TfrmRecord2(TComponent* owner) : TForm(owner) {
    LoadDefinition("Record2", Bindings());
}

const TFormBindings& TfrmRecord2::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("PageControl1", &TfrmRecord2::PageControl1)
            .AddField("TabSheet1", &TfrmRecord2::TabSheet1)
            .AddField("PageControl2", &TfrmRecord2::PageControl2)
            .AddField("TabSheet2", &TfrmRecord2::TabSheet2)
            .AddField("PageControl3", &TfrmRecord2::PageControl3)
            .AddField("TabSheet3", &TfrmRecord2::TabSheet3)
            .AddField("PageControl4", &TfrmRecord2::PageControl4)
            .AddField("TabSheet4", &TfrmRecord2::TabSheet4)
            .AddField("PageControl5", &TfrmRecord2::PageControl5)
            .AddField("TabSheet5", &TfrmRecord2::TabSheet5)
            .AddField("PageControl6", &TfrmRecord2::PageControl6)
            .AddField("GroupBox1", &TfrmRecord2::GroupBox1)
            .AddField("lbResolution", &TfrmRecord2::lbResolution)
            .AddField("rbt320", &TfrmRecord2::rbt320)
            .AddField("rbt720", &TfrmRecord2::rbt720)
            .AddField("lbImage", &TfrmRecord2::lbImage)
            .AddField("cmbImage", &TfrmRecord2::cmbImage)
            .AddField("lbImage_cf", &TfrmRecord2::lbImage_cf)
            .AddField("cmbImage_cf", &TfrmRecord2::cmbImage_cf)
            .AddField("lbQuality", &TfrmRecord2::lbQuality)
            .AddField("rbtLow", &TfrmRecord2::rbtLow)
            .AddField("rbtMed", &TfrmRecord2::rbtMed)
            .AddField("rbtHigh", &TfrmRecord2::rbtHigh)
            .AddField("rbtSuper", &TfrmRecord2::rbtSuper)
            .AddField("lbRecord", &TfrmRecord2::lbRecord)
            .AddField("rbtRecordOn", &TfrmRecord2::rbtRecordOn)
            .AddField("rbtRecordOff", &TfrmRecord2::rbtRecordOff)
            .AddField("lbNetwork", &TfrmRecord2::lbNetwork)
            .AddField("rbtNetworkOn", &TfrmRecord2::rbtNetworkOn)
            .AddField("rbtNetworkOff", &TfrmRecord2::rbtNetworkOff)
            .AddField("lbVoice", &TfrmRecord2::lbVoice)
            .AddField("rbtVoiceOn", &TfrmRecord2::rbtVoiceOn)
            .AddField("rbtVoiceOff", &TfrmRecord2::rbtVoiceOff)
            .AddField("GroupBox2", &TfrmRecord2::GroupBox2)
            .AddField("lbResolution_e", &TfrmRecord2::lbResolution_e)
            .AddField("rbt320_e", &TfrmRecord2::rbt320_e)
            .AddField("rbt720_e", &TfrmRecord2::rbt720_e)
            .AddField("lbImage_e", &TfrmRecord2::lbImage_e)
            .AddField("cmbImage_e", &TfrmRecord2::cmbImage_e)
            .AddField("lbImage_cf_e", &TfrmRecord2::lbImage_cf_e)
            .AddField("cmbImage_e_cf", &TfrmRecord2::cmbImage_e_cf)
            .AddField("lbQuality_e", &TfrmRecord2::lbQuality_e)
            .AddField("rbtLow_e", &TfrmRecord2::rbtLow_e)
            .AddField("rbtMed_e", &TfrmRecord2::rbtMed_e)
            .AddField("rbtHigh_e", &TfrmRecord2::rbtHigh_e)
            .AddField("rbtSuper_e", &TfrmRecord2::rbtSuper_e)
            .AddField("lbRecord_e", &TfrmRecord2::lbRecord_e)
            .AddField("rbtRecordOn_e", &TfrmRecord2::rbtRecordOn_e)
            .AddField("rbtRecordOff_e", &TfrmRecord2::rbtRecordOff_e)
            .AddField("lbNetwork_e", &TfrmRecord2::lbNetwork_e)
            .AddField("rbtNetworkOn_e", &TfrmRecord2::rbtNetworkOn_e)
            .AddField("rbtNetworkOff_e", &TfrmRecord2::rbtNetworkOff_e)
            .AddField("lbVoice_e", &TfrmRecord2::lbVoice_e)
            .AddField("rbtVoiceOn_e", &TfrmRecord2::rbtVoiceOn_e)
            .AddField("rbtVoiceOff_e", &TfrmRecord2::rbtVoiceOff_e)
            .AddField("lbMotion_e", &TfrmRecord2::lbMotion_e)
            .AddField("rbtMotionOn_e", &TfrmRecord2::rbtMotionOn_e)
            .AddField("rbtMotionOff_e", &TfrmRecord2::rbtMotionOff_e)
            .AddField("lbMotionOut_e", &TfrmRecord2::lbMotionOut_e)
            .AddField("rbtM_AlarmOutOn_e", &TfrmRecord2::rbtM_AlarmOutOn_e)
            .AddField("rbtM_AlarmOutOff_e", &TfrmRecord2::rbtM_AlarmOutOff_e)
            .AddField("lbAlarmIn_e", &TfrmRecord2::lbAlarmIn_e)
            .AddField("rbtAlarmInOn_e", &TfrmRecord2::rbtAlarmInOn_e)
            .AddField("rbtAlarmInOff_e", &TfrmRecord2::rbtAlarmInOff_e)
            .AddField("lbAlarmOut_e", &TfrmRecord2::lbAlarmOut_e)
            .AddField("rbtAlarmOutOn_e", &TfrmRecord2::rbtAlarmOutOn_e)
            .AddField("rbtAlarmOutOff_e", &TfrmRecord2::rbtAlarmOutOff_e)
            .AddField("lbPre_rec_e", &TfrmRecord2::lbPre_rec_e)
            .AddField("cmbPre_rec_e", &TfrmRecord2::cmbPre_rec_e)
            .AddField("lbDuration_e", &TfrmRecord2::lbDuration_e)
            .AddField("cmbDuration_e", &TfrmRecord2::cmbDuration_e)
            .AddField("lbCur_group", &TfrmRecord2::lbCur_group)
            .AddField("cmbCur_group", &TfrmRecord2::cmbCur_group)
            .AddField("lbSchedule", &TfrmRecord2::lbSchedule)
            .AddField("btnSchedule", &TfrmRecord2::btnSchedule)
            .AddField("lbOverwrite", &TfrmRecord2::lbOverwrite)
            .AddField("rbtOverOn", &TfrmRecord2::rbtOverOn)
            .AddField("rbtOverOff", &TfrmRecord2::rbtOverOff)
            .AddField("lbStorage", &TfrmRecord2::lbStorage)
            .AddField("rbtHdd", &TfrmRecord2::rbtHdd)
            .AddField("rbtCf", &TfrmRecord2::rbtCf)
            .AddField("lbAutoBackup", &TfrmRecord2::lbAutoBackup)
            .AddField("rbtBackupOn", &TfrmRecord2::rbtBackupOn)
            .AddField("rbtBackupOff", &TfrmRecord2::rbtBackupOff)
            .AddField("rbtBackupEvent", &TfrmRecord2::rbtBackupEvent)
            .AddField("btnOk", &TfrmRecord2::btnOk)
            .AddField("btnCancel", &TfrmRecord2::btnCancel)
            .AddMethod("FormShow", &TfrmRecord2::FormShow)
            .AddMethod("PageControl1Change", &TfrmRecord2::PageControl1Change)
            .AddMethod("PageControl2Change", &TfrmRecord2::PageControl2Change)
            .AddMethod("cmbCur_groupChange", &TfrmRecord2::cmbCur_groupChange)
            .AddMethod("rbt320Click", &TfrmRecord2::rbt320Click)
            .AddMethod("rbt720Click", &TfrmRecord2::rbt720Click)
            .AddMethod("rbt320_eClick", &TfrmRecord2::rbt320_eClick)
            .AddMethod("rbt720_eClick", &TfrmRecord2::rbt720_eClick)
            .AddMethod("rbtQualityClick", &TfrmRecord2::rbtQualityClick)
            .AddMethod("rbtQuality_eClick", &TfrmRecord2::rbtQuality_eClick)
            .AddMethod("rbtRecordOnClick", &TfrmRecord2::rbtRecordOnClick)
            .AddMethod("rbtRecordOffClick", &TfrmRecord2::rbtRecordOffClick)
            .AddMethod("rbtNetworkOnClick", &TfrmRecord2::rbtNetworkOnClick)
            .AddMethod("rbtNetworkOffClick", &TfrmRecord2::rbtNetworkOffClick)
            .AddMethod("rbtRecordOn_eClick", &TfrmRecord2::rbtRecordOn_eClick)
            .AddMethod("rbtRecordOff_eClick", &TfrmRecord2::rbtRecordOff_eClick)
            .AddMethod("rbtNetworkOn_eClick", &TfrmRecord2::rbtNetworkOn_eClick)
            .AddMethod("rbtNetworkOff_eClick", &TfrmRecord2::rbtNetworkOff_eClick)
            .AddMethod("rbtVoiceOnClick", &TfrmRecord2::rbtVoiceOnClick)
            .AddMethod("rbtVoiceOffClick", &TfrmRecord2::rbtVoiceOffClick)
            .AddMethod("rbtVoiceOn_eClick", &TfrmRecord2::rbtVoiceOn_eClick)
            .AddMethod("rbtVoiceOff_eClick", &TfrmRecord2::rbtVoiceOff_eClick)
            .AddMethod("rbtMotionOn_eClick", &TfrmRecord2::rbtMotionOn_eClick)
            .AddMethod("rbtMotionOff_eClick", &TfrmRecord2::rbtMotionOff_eClick)
            .AddMethod("rbtAlarmInOn_eClick", &TfrmRecord2::rbtAlarmInOn_eClick)
            .AddMethod("rbtAlarmInOff_eClick", &TfrmRecord2::rbtAlarmInOff_eClick)
            .AddMethod("rbtM_AlarmOutOn_eClick", &TfrmRecord2::rbtM_AlarmOutOn_eClick)
            .AddMethod("rbtM_AlarmOutOff_eClick", &TfrmRecord2::rbtM_AlarmOutOff_eClick)
            .AddMethod("rbtAlarmOutOn_eClick", &TfrmRecord2::rbtAlarmOutOn_eClick)
            .AddMethod("rbtAlarmOutOff_eClick", &TfrmRecord2::rbtAlarmOutOff_eClick)
            .AddMethod("cmbPre_rec_eChange", &TfrmRecord2::cmbPre_rec_eChange)
            .AddMethod("cmbDuration_eChange", &TfrmRecord2::cmbDuration_eChange)
            .AddMethod("rbtOverOnClick", &TfrmRecord2::rbtOverOnClick)
            .AddMethod("rbtOverOffClick", &TfrmRecord2::rbtOverOffClick)
            .AddMethod("rbtHddClick", &TfrmRecord2::rbtHddClick)
            .AddMethod("rbtCfClick", &TfrmRecord2::rbtCfClick)
            .AddMethod("rbtBackupOnClick", &TfrmRecord2::rbtBackupOnClick)
            .AddMethod("rbtBackupOffClick", &TfrmRecord2::rbtBackupOffClick)
            .AddMethod("rbtBackupEventClick", &TfrmRecord2::rbtBackupEventClick)
            .AddMethod("btnScheduleClick", &TfrmRecord2::btnScheduleClick)
            .AddMethod("cmbImageChange", &TfrmRecord2::cmbImageChange)
            .AddMethod("cmbImage_cfChange", &TfrmRecord2::cmbImage_cfChange)
            .AddMethod("cmbImage_eChange", &TfrmRecord2::cmbImage_eChange)
            .AddMethod("cmbImage_e_cfChange", &TfrmRecord2::cmbImage_e_cfChange)
            .AddMethod("btnOkClick", &TfrmRecord2::btnOkClick)
            .AddMethod("btnCancelClick", &TfrmRecord2::btnCancelClick);
    return bindings;
}

// ---- Opening ----

void TfrmRecord2::SetCurrentGroup(int group) {
    // The group comes from config.ini; a number the page has no tab for opens the first group.
    InitialGroup = group >= 1 && group <= kRecordGroups ? group : 1;
}

void TfrmRecord2::FillLists() {
    Groups.fill(RecordGroupSettings{});
    Overwrite = 1;
    Storage = 0;
    AutoBackup = 0;
    ScheduleOn = 0;
    cmbCur_group->Clear();
    for (int g = 1; g <= kRecordGroups; ++g)
        cmbCur_group->Items()->Add(Format("%d GROUP", g)); // untranslated: the recorder's setup words
    cmbPre_rec_e->Clear();
    for (int s = 0; s <= 5; ++s)
        cmbPre_rec_e->Items()->Add(Format("%d SEC", s)); // untranslated: the recorder's setup words
    cmbDuration_e->Clear();
    for (int s : {30, 60, 120, 180, 240})
        cmbDuration_e->Items()->Add(Format("%d SEC", s)); // untranslated: the recorder's setup words
    cmbPre_rec_e->SetItemIndex(0);
    cmbDuration_e->SetItemIndex(1);
    ShownChannel = 0;
    ShownGroup = CurrentGroup = InitialGroup - 1;
    PageControl1->SetActivePageIndex(ShownGroup);
    cmbCur_group->SetItemIndex(CurrentGroup);
    for (int g = 0; g < kRecordGroups; ++g)
        ChannelTabs(g)->SetActivePageIndex(0);
    SetGroupControlsEnabled(true);
    LoadRecordConfig();
}

void TfrmRecord2::LoadRecordConfig() {
    const bool ntsc = MaxFrameRate == 30;
    for (TRadioButton* r : {rbt320, rbt320_e})
        r->SetCaption(ntsc ? "320x240" : "320x288");
    for (TRadioButton* r : {rbt720, rbt720_e})
        r->SetCaption(ntsc ? "720x240" : "720x288");
    Config = {};
    if (frmMenu != nullptr) {
        frmMenu->LoadConfigIni();
        Config = frmMenu->Config();
        CameraCount = frmMenu->MaxCamera;
    }
    if (CameraCount == 1 || CameraCount == 4) {
        for (int g = 0; g < kRecordGroups; ++g)
            for (int c = 1; c < kRecordChannels; ++c)
                ChannelTabs(g)->Pages(c)->SetTabVisible(CameraCount == 4);
        rbtMotionOn_e->SetEnabled(CameraCount == 4);
        rbtMotionOff_e->SetEnabled(CameraCount == 4);
    }
    if (Config.Loaded()) {
        RecordPageSettings settings = PageSettings();
        LoadRecordKeys(*Config.Sections, *Config.Keys, *Config.Values, settings);
        SetPageSettings(settings);
    }
    Loaded = PageSettings();
    LoadedGroup = CurrentGroup;
    ShowGroupChannel(0);
}

RecordPageSettings TfrmRecord2::PageSettings() const {
    RecordPageSettings s;
    s.Groups = Groups;
    s.Overwrite = Overwrite;
    s.Storage = Storage;
    s.AutoBackup = AutoBackup;
    s.ScheduleOn = ScheduleOn;
    return s;
}

void TfrmRecord2::SetPageSettings(const RecordPageSettings& s) {
    Groups = s.Groups;
    Overwrite = s.Overwrite;
    Storage = s.Storage;
    AutoBackup = s.AutoBackup;
    ScheduleOn = s.ScheduleOn;
}

void TfrmRecord2::SetScheduleOn(bool on) {
    btnSchedule->SetCaption(on ? "ON" : "OFF"); // untranslated: the recorder's setup words
    ScheduleOn = on ? 1 : 0;
}

TPageControl* TfrmRecord2::ChannelTabs(int group) const {
    const std::array<TPageControl*, kRecordGroups> tabs{PageControl2, PageControl3, PageControl4,
                                                        PageControl5, PageControl6};
    return tabs.at(static_cast<std::size_t>(group));
}

void TfrmRecord2::SetGroupControlsEnabled(bool enabled) {
    for (TControl* c : std::initializer_list<TControl*>{rbt320, rbt720, cmbPre_rec_e, rbtVoiceOn, rbtVoiceOff,
                                                        rbtVoiceOn_e, rbtVoiceOff_e})
        c->SetEnabled(enabled);
}

// ---- Showing a channel ----

void TfrmRecord2::EnableStorageControls() {
    const bool cf = Storage != 0;
    for (TRadioButton* r : {rbtBackupOn, rbtBackupOff, rbtBackupEvent})
        r->SetEnabled(!cf);
    cmbImage_cf->SetEnabled(cf);
    cmbImage_e_cf->SetEnabled(cf);
    cmbImage->SetEnabled(!cf);
    cmbImage_e->SetEnabled(!cf);
}

void TfrmRecord2::ShowGroupChannel(int channel) {
    // Shows the table as it is, whichever radios the channel shown before left checked.
    const TSettingControls setting(*this);
    ShownChannel = channel;
    ClearRateLists();
    SetScheduleOn(ScheduleOn != 0);
    (Overwrite != 0 ? rbtOverOn : rbtOverOff)->SetChecked(true);
    (Storage != 0 ? rbtCf : rbtHdd)->SetChecked(true);
    EnableStorageControls();
    (AutoBackup == 1 ? rbtBackupOn : AutoBackup == 2 ? rbtBackupEvent : rbtBackupOff)->SetChecked(true);
    RecordGroupSettings& g = Shown();
    const std::size_t c = Channel();
    (g.Resolution != 0 ? rbt720 : rbt320)->SetChecked(true);
    (g.EventResolution != 0 ? rbt720_e : rbt320_e)->SetChecked(true);
    const std::array<TRadioButton*, 4> quality{rbtLow, rbtMed, rbtHigh, rbtSuper};
    const std::array<TRadioButton*, 4> qualityE{rbtLow_e, rbtMed_e, rbtHigh_e, rbtSuper_e};
    // Qualities are 0..3 once loaded; anything else shows no choice.
    for (int q = 0; q < 4; ++q) {
        if (g.ManualQuality[c] == q) quality[static_cast<std::size_t>(q)]->SetChecked(true);
        if (g.EventQuality[c] == q) qualityE[static_cast<std::size_t>(q)]->SetChecked(true);
    }
    if (channel == 0) {
        (g.ManualVoice != 0 ? rbtVoiceOn : rbtVoiceOff)->SetChecked(true);
        (g.EventVoice != 0 ? rbtVoiceOn_e : rbtVoiceOff_e)->SetChecked(true);
    } else {
        rbtVoiceOff->SetChecked(true);
        rbtVoiceOff_e->SetChecked(true);
    }
    (g.Motion[c] != 0 ? rbtMotionOn_e : rbtMotionOff_e)->SetChecked(true);
    (g.MotionAlarmOut[c] != 0 ? rbtM_AlarmOutOn_e : rbtM_AlarmOutOff_e)->SetChecked(true);
    (g.AlarmIn[c] != 0 ? rbtAlarmInOn_e : rbtAlarmInOff_e)->SetChecked(true);
    (g.AlarmInAlarmOut[c] != 0 ? rbtAlarmOutOn_e : rbtAlarmOutOff_e)->SetChecked(true);
    cmbPre_rec_e->SetItemIndex(g.PreRecord);
    cmbDuration_e->SetItemIndex(g.Duration[c]);
    rbtM_AlarmOutOn_e->SetEnabled(rbtMotionOn_e->Checked());
    rbtM_AlarmOutOff_e->SetEnabled(rbtMotionOn_e->Checked());
    rbtAlarmOutOn_e->SetEnabled(rbtAlarmInOn_e->Checked());
    rbtAlarmOutOff_e->SetEnabled(rbtAlarmInOn_e->Checked());
    (g.ManualRecord[c] != 0 ? rbtRecordOn : rbtRecordOff)->SetChecked(true);
    (g.ManualNetwork[c] != 0 ? rbtNetworkOn : rbtNetworkOff)->SetChecked(true);
    (g.EventRecord[c] != 0 ? rbtRecordOn_e : rbtRecordOff_e)->SetChecked(true);
    (g.EventNetwork[c] != 0 ? rbtNetworkOn_e : rbtNetworkOff_e)->SetChecked(true);
    BuildRateListControls(false);
    if (g.Motion[c] == 0 && g.AlarmIn[c] == 0) {
        SetEventRecordEnabled(false);
        rbtRecordOff_e->SetChecked(true);
        g.EventRecord[c] = 0;
    } else {
        SetEventRecordEnabled(true);
    }
    const bool cf = Storage != 0;
    ManualRateRule(cf);
    EventRateRule(cf);
}

// ---- Showing the page ----

void TfrmRecord2::FormShow(TObject*) {
    PreparePage(this);
    btnOk->Font()->SetName(Font()->Name());
    btnCancel->Font()->SetName(Font()->Name());
    SetLangCaption(this, 59921);
    const std::string group = LangText(59920);
    const std::string channel = LangText(59919);
    for (int g = 0; g < kRecordGroups; ++g) {
        if (!group.empty()) PageControl1->Pages(g)->SetCaption(group + std::to_string(g + 1));
        for (int c = 0; c < kRecordChannels && !channel.empty(); ++c)
            ChannelTabs(g)->Pages(c)->SetCaption(channel + std::to_string(c + 1));
    }
    const std::pair<TControl*, int> texts[] = {
        {GroupBox1, 59918},   {lbResolution, 59917},  {lbResolution_e, 59917}, {lbImage, 59916},
        {lbImage_e, 59916},   {lbImage_cf, 59915},    {lbImage_cf_e, 59915},   {lbQuality, 59914},
        {lbQuality_e, 59914}, {lbRecord, 59913},      {lbRecord_e, 59913},     {lbNetwork, 59912},
        {lbNetwork_e, 59912}, {lbVoice, 59911},       {lbVoice_e, 59911},      {GroupBox2, 59910},
        {lbMotion_e, 59909},  {lbMotionOut_e, 59908}, {lbAlarmOut_e, 59908},   {lbAlarmIn_e, 59907},
        {lbPre_rec_e, 59906}, {lbDuration_e, 59905},  {lbCur_group, 59904},    {lbSchedule, 59903},
        {lbOverwrite, 59902}, {lbStorage, 59901},     {lbAutoBackup, 59900},   {btnOk, 59981},
        {btnCancel, 59980}};
    for (const auto& [control, id] : texts)
        SetLangCaption(control, id);
}
