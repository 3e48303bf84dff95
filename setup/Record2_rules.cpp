// The recording page's controls: the tabs, the rate lists with their rules, the storage switch and the
// radios that change the table.
#include "setup/Record2.h"

#include "client/main.h"
#include "setup/Schedule.h"

#include <algorithm>

// ---- Rate lists ----

TfrmRecord2::RateSide TfrmRecord2::Side(bool cf) {
    RecordGroupSettings& g = Shown();
    if (cf) return {cmbImage_cf, cmbImage_e_cf, g.ManualCfRate, g.EventCfRate, true};
    return {cmbImage, cmbImage_e, g.ManualHddRate, g.EventHddRate, false};
}

void TfrmRecord2::ClearRateLists() {
    for (TComboBox* list : {cmbImage, cmbImage_cf, cmbImage_e, cmbImage_e_cf})
        list->Clear();
}

void TfrmRecord2::FillRateList(TComboBox* list, const RateListSpec& rates) {
    list->Clear();
    for (int i = 0; i < rates.Count(); ++i)
        list->Items()->Add(RateText(rates.RateAt(i)));
    list->SetItemIndex(rates.selected);
}

void TfrmRecord2::BuildRateListControls(bool afterEventRule) {
    const RecordGroupSettings& g = Shown();
    RemainingHddRate = RemainingRate(MaxFrameRate, g.ManualHddRate, g.EventHddRate);
    RemainingCfRate = RemainingRate(kCfRateBudget, g.ManualCfRate, g.EventCfRate);
    const RateLists lists =
        BuildRateLists(g, ShownChannel, CameraCount, MaxFrameRate,
                       afterEventRule ? ManualStart::ByEventRate : ManualStart::ByEventSelection);
    FillRateList(cmbImage_e, lists.eventHdd);
    FillRateList(cmbImage_e_cf, lists.eventCf);
    FillRateList(cmbImage, lists.manualHdd);
    FillRateList(cmbImage_cf, lists.manualCf);
    if (!afterEventRule) return;
    for (bool cf : {false, true}) {
        const RateSide side = Side(cf);
        const RateListSpec& manual = cf ? lists.manualCf : lists.manualHdd;
        if (manual.first != 1 || !ManualRateLifted(side.manualRate[Channel()], cf)) continue;
        side.manual->SetItemIndex(0);
        side.manualRate[Channel()] = 1;
        rbtRecordOn->SetEnabled(true);
        rbtRecordOff->SetEnabled(true);
        if (rbtNetworkOff->Checked()) {
            rbtRecordOn->SetChecked(true);
            Shown().ManualRecord[Channel()] = 1;
        }
        rbtNetworkOn->SetEnabled(true);
        rbtNetworkOff->SetEnabled(true);
    }
}

void TfrmRecord2::SetManualSwitchesEnabled(bool enabled) {
    for (TRadioButton* r : {rbtRecordOn, rbtRecordOff, rbtNetworkOn, rbtNetworkOff})
        r->SetEnabled(enabled);
}

void TfrmRecord2::SetEventRecordEnabled(bool enabled) {
    rbtRecordOn_e->SetEnabled(enabled);
    rbtRecordOff_e->SetEnabled(enabled);
}

void TfrmRecord2::SetEventNetworkEnabled(bool enabled) {
    rbtNetworkOn_e->SetEnabled(enabled);
    rbtNetworkOff_e->SetEnabled(enabled);
}

// A MANUAL rate of 0 records nothing and sends nothing; any other keeps RECORD or NETWORK on.
void TfrmRecord2::ManualRateRule(bool cf) {
    const RateSide side = Side(cf);
    // A list with no entries (camera count unknown, budget overdrawn) offers no rate to take.
    if (side.manual->Items()->Count() == 0) return;
    const int index = side.manual->ItemIndex();
    // A list showing no entry (a stored rate it does not offer) leaves the rate and the switches be.
    if (index < 0) return;
    RecordGroupSettings& g = Shown();
    const std::size_t c = Channel();
    if (side.eventRate[c] == 0) {
        side.manualRate[c] = index;
        if (index == 0) {
            SetManualSwitchesEnabled(false);
            rbtRecordOff->SetChecked(true);
            g.ManualRecord[c] = 0;
            rbtNetworkOff->SetChecked(true);
            g.ManualNetwork[c] = 0;
            return;
        }
    } else {
        side.manualRate[c] = index + 1;
    }
    rbtRecordOn->SetEnabled(true);
    rbtRecordOff->SetEnabled(true);
    if (rbtNetworkOff->Checked()) {
        rbtRecordOn->SetChecked(true);
        g.ManualRecord[c] = 1;
    }
    rbtNetworkOn->SetEnabled(true);
    rbtNetworkOff->SetEnabled(true);
}

void TfrmRecord2::RaiseManualRate(const RateSide& side) {
    if (side.cf)
        side.manual->SetItemIndex(1);
    else
        ManualRateRule(false);
    rbtRecordOn->SetEnabled(true);
    rbtRecordOff->SetEnabled(true);
    rbtRecordOn->SetChecked(true);
    Shown().ManualRecord[Channel()] = 1;
    rbtNetworkOn->SetEnabled(true);
    rbtNetworkOff->SetEnabled(true);
}

void TfrmRecord2::EventRateRule(bool cf) {
    const RateSide side = Side(cf);
    RecordGroupSettings& g = Shown();
    const std::size_t c = Channel();
    // A hand-picked rate counts for this one run only, never for a channel shown later.
    const bool chosen = EventRateChosen != 0;
    EventRateChosen = 0;
    if (side.event->Items()->Count() == 0) return;
    // A list showing no entry keeps the stored rate.
    if (side.event->ItemIndex() >= 0) side.eventRate[c] = side.event->ItemIndex();
    const bool noTrigger = g.Motion[c] == 0 && g.AlarmIn[c] == 0;
    if (noTrigger) {
        rbtRecordOff_e->SetChecked(true);
        g.EventRecord[c] = 0;
        SetEventRecordEnabled(false);
        if (side.eventRate[c] == 0) {
            rbtNetworkOff_e->SetChecked(true);
            g.EventNetwork[c] = 0;
            SetEventNetworkEnabled(false);
        } else {
            SetEventNetworkEnabled(true);
            if (side.manualRate[c] == 0) RaiseManualRate(side);
        }
    } else if (side.eventRate[c] == 0) {
        rbtRecordOff_e->SetChecked(true);
        g.EventRecord[c] = 0;
        SetEventRecordEnabled(false);
        rbtNetworkOff_e->SetChecked(true);
        g.EventNetwork[c] = 0;
        SetEventNetworkEnabled(false);
    } else {
        if (chosen) {
            rbtRecordOn_e->SetChecked(true);
            g.EventRecord[c] = 1;
        }
        SetEventRecordEnabled(true);
        SetEventNetworkEnabled(true);
        if (side.manualRate[c] == -1) RaiseManualRate(side);
    }
    ClearRateLists();
    BuildRateListControls(true);
}

void TfrmRecord2::cmbImageChange(TObject*) {
    UserChange([this] { ManualRateRule(false); });
}

void TfrmRecord2::cmbImage_cfChange(TObject*) {
    UserChange([this] { ManualRateRule(true); });
}

void TfrmRecord2::cmbImage_eChange(TObject*) {
    UserChange([this] {
        EventRateChosen = 1;
        EventRateRule(false);
    });
}

void TfrmRecord2::cmbImage_e_cfChange(TObject*) {
    UserChange([this] {
        EventRateChosen = 1;
        EventRateRule(true);
    });
}

// ---- Storage ----

// The channel is shown again for the storage chosen: its RECORD radios from the table, its rates by the
// rules of that storage's lists.
void TfrmRecord2::rbtHddClick(TObject*) {
    UserChange([this] {
        Storage = 0;
        ShowGroupChannel(ShownChannel);
    });
}

void TfrmRecord2::rbtCfClick(TObject*) {
    UserChange([this] {
        Storage = 1;
        AutoBackup = 0;
        rbtBackupOff->SetChecked(true);
        ShowGroupChannel(ShownChannel);
    });
}

// ---- Tabs ----

void TfrmRecord2::ShowGroup(int group) {
    ClearRateLists();
    SetGroupControlsEnabled(true);
    ShownGroup = std::clamp(group, 0, kRecordGroups - 1);
    ShownChannel = 0;
    for (int g = 0; g < kRecordGroups; ++g)
        ChannelTabs(g)->SetActivePageIndex(0);
    ShowGroupChannel(0);
}

void TfrmRecord2::PageControl1Change(TObject*) {
    UserChange([this] { ShowGroup(PageControl1->ActivePageIndex()); });
}

void TfrmRecord2::PageControl2Change(TObject* sender) {
    auto* tabs = dynamic_cast<TPageControl*>(sender);
    if (tabs == nullptr) return;
    UserChange([this, tabs] {
        ClearRateLists();
        ShownChannel = std::clamp(tabs->ActivePageIndex(), 0, kRecordChannels - 1);
        SetGroupControlsEnabled(ShownChannel == 0);
        ShowGroupChannel(ShownChannel);
    });
}

void TfrmRecord2::cmbCur_groupChange(TObject*) {
    const int index = cmbCur_group->ItemIndex();
    if (index < 0 || index >= kRecordGroups) return;
    UserChange([this, index] {
        CurrentGroup = index;
        PageControl1->SetActivePageIndex(index);
        ShowGroup(index);
    });
}

// ---- Resolution and quality ----

void TfrmRecord2::rbt320Click(TObject*) {
    UserChange([this] {
        Shown().Resolution = Shown().EventResolution = 0;
        rbt320_e->SetChecked(true);
    });
}

void TfrmRecord2::rbt720Click(TObject*) {
    UserChange([this] {
        Shown().Resolution = Shown().EventResolution = 1;
        rbt720_e->SetChecked(true);
    });
}

void TfrmRecord2::rbt320_eClick(TObject*) {
    UserChange([this] {
        Shown().Resolution = Shown().EventResolution = 0;
        rbt320->SetChecked(true);
    });
}

void TfrmRecord2::rbt720_eClick(TObject*) {
    UserChange([this] {
        Shown().Resolution = Shown().EventResolution = 1;
        rbt720->SetChecked(true);
    });
}

void TfrmRecord2::rbtQualityClick(TObject* sender) {
    UserChange([this, sender] {
        const std::array<TRadioButton*, 4> radios{rbtLow, rbtMed, rbtHigh, rbtSuper};
        for (std::size_t q = 0; q < radios.size(); ++q)
            if (radios[q] == sender) Shown().ManualQuality[Channel()] = static_cast<int>(q);
    });
}

void TfrmRecord2::rbtQuality_eClick(TObject* sender) {
    UserChange([this, sender] {
        const std::array<TRadioButton*, 4> radios{rbtLow_e, rbtMed_e, rbtHigh_e, rbtSuper_e};
        for (std::size_t q = 0; q < radios.size(); ++q)
            if (radios[q] == sender) Shown().EventQuality[Channel()] = static_cast<int>(q);
    });
}

// ---- RECORD, NETWORK and VOICE IN ----

void TfrmRecord2::rbtRecordOnClick(TObject*) {
    UserChange([this] { Shown().ManualRecord[Channel()] = 1; });
}

// MANUAL RECORD and NETWORK are never both off.
void TfrmRecord2::rbtRecordOffClick(TObject*) {
    UserChange([this] {
        RecordGroupSettings& g = Shown();
        g.ManualRecord[Channel()] = 0;
        rbtRecordOff->SetChecked(true);
        if (g.ManualNetwork[Channel()] == 0) {
            g.ManualNetwork[Channel()] = 1;
            rbtNetworkOn->SetChecked(true);
        }
    });
}

void TfrmRecord2::rbtNetworkOnClick(TObject*) {
    UserChange([this] { Shown().ManualNetwork[Channel()] = 1; });
}

void TfrmRecord2::rbtNetworkOffClick(TObject*) {
    UserChange([this] {
        RecordGroupSettings& g = Shown();
        g.ManualNetwork[Channel()] = 0;
        if (g.ManualRecord[Channel()] == 0) {
            g.ManualRecord[Channel()] = 1;
            rbtRecordOn->SetChecked(true);
        }
    });
}

void TfrmRecord2::rbtRecordOn_eClick(TObject*) {
    UserChange([this] { Shown().EventRecord[Channel()] = 1; });
}

void TfrmRecord2::rbtRecordOff_eClick(TObject*) {
    UserChange([this] { Shown().EventRecord[Channel()] = 0; });
}

void TfrmRecord2::rbtNetworkOn_eClick(TObject*) {
    UserChange([this] { Shown().EventNetwork[Channel()] = 1; });
}

void TfrmRecord2::rbtNetworkOff_eClick(TObject*) {
    UserChange([this] { Shown().EventNetwork[Channel()] = 0; });
}

void TfrmRecord2::rbtVoiceOnClick(TObject*) {
    UserChange([this] { Shown().ManualVoice = 1; });
}

void TfrmRecord2::rbtVoiceOffClick(TObject*) {
    UserChange([this] { Shown().ManualVoice = 0; });
}

void TfrmRecord2::rbtVoiceOn_eClick(TObject*) {
    UserChange([this] { Shown().EventVoice = 1; });
}

void TfrmRecord2::rbtVoiceOff_eClick(TObject*) {
    UserChange([this] { Shown().EventVoice = 0; });
}

// ---- Event triggers ----

// EVENT RECORD can be switched on only while the storage's EVENT rate is not 0.
void TfrmRecord2::rbtMotionOn_eClick(TObject*) {
    UserChange([this] {
        rbtMotionOn_e->SetChecked(true);
        rbtM_AlarmOutOn_e->SetEnabled(true);
        rbtM_AlarmOutOff_e->SetEnabled(true);
        Shown().Motion[Channel()] = 1;
        SetEventRecordEnabled(Side(Storage != 0).eventRate[Channel()] != 0);
    });
}

// Without a trigger there is no event to record.
void TfrmRecord2::rbtMotionOff_eClick(TObject*) {
    UserChange([this] {
        rbtMotionOff_e->SetChecked(true);
        rbtM_AlarmOutOn_e->SetEnabled(false);
        rbtM_AlarmOutOff_e->SetEnabled(false);
        Shown().Motion[Channel()] = 0;
        if (rbtAlarmInOff_e->Checked()) {
            rbtRecordOff_e->SetChecked(true);
            Shown().EventRecord[Channel()] = 0;
            SetEventRecordEnabled(false);
        }
    });
}

void TfrmRecord2::rbtAlarmInOn_eClick(TObject*) {
    UserChange([this] {
        rbtAlarmInOn_e->SetChecked(true);
        rbtAlarmOutOn_e->SetEnabled(true);
        rbtAlarmOutOff_e->SetEnabled(true);
        Shown().AlarmIn[Channel()] = 1;
        SetEventRecordEnabled(Side(Storage != 0).eventRate[Channel()] != 0);
    });
}

void TfrmRecord2::rbtAlarmInOff_eClick(TObject*) {
    UserChange([this] {
        rbtAlarmInOff_e->SetChecked(true);
        rbtAlarmOutOn_e->SetEnabled(false);
        rbtAlarmOutOff_e->SetEnabled(false);
        Shown().AlarmIn[Channel()] = 0;
        if (rbtMotionOff_e->Checked()) {
            rbtRecordOff_e->SetChecked(true);
            Shown().EventRecord[Channel()] = 0;
            SetEventRecordEnabled(false);
        }
    });
}

void TfrmRecord2::rbtM_AlarmOutOn_eClick(TObject*) {
    UserChange([this] { Shown().MotionAlarmOut[Channel()] = 1; });
}

void TfrmRecord2::rbtM_AlarmOutOff_eClick(TObject*) {
    UserChange([this] { Shown().MotionAlarmOut[Channel()] = 0; });
}

void TfrmRecord2::rbtAlarmOutOn_eClick(TObject*) {
    UserChange([this] { Shown().AlarmInAlarmOut[Channel()] = 1; });
}

void TfrmRecord2::rbtAlarmOutOff_eClick(TObject*) {
    UserChange([this] { Shown().AlarmInAlarmOut[Channel()] = 0; });
}

// ---- Lists and page switches ----

void TfrmRecord2::cmbPre_rec_eChange(TObject*) {
    UserChange([this] { Shown().PreRecord = cmbPre_rec_e->ItemIndex(); });
}

void TfrmRecord2::cmbDuration_eChange(TObject*) {
    UserChange([this] { Shown().Duration[Channel()] = cmbDuration_e->ItemIndex(); });
}

void TfrmRecord2::rbtOverOnClick(TObject*) {
    UserChange([this] { Overwrite = 1; });
}

void TfrmRecord2::rbtOverOffClick(TObject*) {
    UserChange([this] { Overwrite = 0; });
}

void TfrmRecord2::rbtBackupOnClick(TObject*) {
    UserChange([this] { AutoBackup = 1; });
}

void TfrmRecord2::rbtBackupOffClick(TObject*) {
    UserChange([this] { AutoBackup = 0; });
}

void TfrmRecord2::rbtBackupEventClick(TObject*) {
    UserChange([this] { AutoBackup = 2; });
}

void TfrmRecord2::btnScheduleClick(TObject*) {
    // Not while OK waits for the recorder: the schedule's copies are what CANCEL would put back.
    if (FrmMain != nullptr && FrmMain->Activities.RefusesPresses()) return;
    Hide();
    if (frmSchedule != nullptr) frmSchedule->Show();
}
