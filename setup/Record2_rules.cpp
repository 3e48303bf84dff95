// The recording page's controls: the tabs, the rate lists with their rules, the storage switch and the
// radios that change the table.
#include "setup/Record2.h"

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
    RecordGroupSettings& g = Shown();
    const std::size_t c = Channel();
    const int index = side.manual->ItemIndex();
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
    if (side.event->Items()->Count() == 0) {
        EventRateChosen = 0;
        return;
    }
    side.eventRate[c] = side.event->ItemIndex();
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
        if (EventRateChosen != 0) {
            rbtRecordOn_e->SetChecked(true);
            g.EventRecord[c] = 1;
            EventRateChosen = 0;
        }
        SetEventRecordEnabled(true);
        SetEventNetworkEnabled(true);
        if (side.manualRate[c] == -1) RaiseManualRate(side);
    }
    ClearRateLists();
    BuildRateListControls(true);
}

void TfrmRecord2::cmbImageChange(TObject*) {
    ManualRateRule(false);
}

void TfrmRecord2::cmbImage_cfChange(TObject*) {
    ManualRateRule(true);
}

void TfrmRecord2::cmbImage_eChange(TObject*) {
    EventRateChosen = 1;
    EventRateRule(false);
}

void TfrmRecord2::cmbImage_e_cfChange(TObject*) {
    EventRateChosen = 1;
    EventRateRule(true);
}

// ---- Storage ----

void TfrmRecord2::rbtHddClick(TObject*) {
    Storage = 0;
    for (TRadioButton* r : {rbtBackupOn, rbtBackupOff, rbtBackupEvent})
        r->SetEnabled(true);
    cmbImage_cf->SetEnabled(false);
    cmbImage_e_cf->SetEnabled(false);
    cmbImage->SetEnabled(true);
    cmbImage_e->SetEnabled(true);
    const bool manualOn = cmbImage->ItemIndex() != 0;
    (manualOn ? rbtRecordOn : rbtRecordOff)->SetChecked(true);
    SetManualSwitchesEnabled(manualOn);
    const bool eventOn = cmbImage_e->ItemIndex() != 0;
    (eventOn ? rbtRecordOn_e : rbtRecordOff_e)->SetChecked(true);
    SetEventRecordEnabled(eventOn);
    SetEventNetworkEnabled(eventOn);
}

void TfrmRecord2::rbtCfClick(TObject*) {
    Storage = 1;
    AutoBackup = 0;
    rbtBackupOff->SetChecked(true);
    for (TRadioButton* r : {rbtBackupOn, rbtBackupOff, rbtBackupEvent})
        r->SetEnabled(false);
    cmbImage_cf->SetEnabled(true);
    cmbImage_e_cf->SetEnabled(true);
    cmbImage->SetEnabled(false);
    cmbImage_e->SetEnabled(false);
    const bool manualOn = cmbImage_cf->ItemIndex() != 0;
    (manualOn ? rbtRecordOn : rbtRecordOff)->SetChecked(true);
    SetManualSwitchesEnabled(manualOn);
    const bool eventOn = cmbImage_e_cf->ItemIndex() != 0;
    (eventOn ? rbtRecordOn_e : rbtRecordOff_e)->SetChecked(true);
    SetEventRecordEnabled(eventOn);
    SetEventNetworkEnabled(eventOn);
}

// ---- Tabs ----

void TfrmRecord2::PageControl1Change(TObject*) {
    ClearRateLists();
    SetGroupControlsEnabled(true);
    ShownGroup = std::clamp(PageControl1->ActivePageIndex(), 0, kRecordGroups - 1);
    ShownChannel = 0;
    for (int g = 0; g < kRecordGroups; ++g)
        ChannelTabs(g)->SetActivePageIndex(0);
    ShowGroupChannel(0);
}

void TfrmRecord2::PageControl2Change(TObject* sender) {
    auto* tabs = dynamic_cast<TPageControl*>(sender);
    if (tabs == nullptr) return;
    ClearRateLists();
    ShownChannel = std::clamp(tabs->ActivePageIndex(), 0, kRecordChannels - 1);
    SetGroupControlsEnabled(ShownChannel == 0);
    ShowGroupChannel(ShownChannel);
}

void TfrmRecord2::cmbCur_groupChange(TObject*) {
    const int index = cmbCur_group->ItemIndex();
    if (index < 0 || index >= kRecordGroups) return;
    CurrentGroup = index;
    PageControl1->SetActivePageIndex(index);
    PageControl1Change(PageControl1);
}

// ---- Resolution and quality ----

void TfrmRecord2::rbt320Click(TObject*) {
    Shown().Resolution = Shown().EventResolution = 0;
    rbt320_e->SetChecked(true);
}

void TfrmRecord2::rbt720Click(TObject*) {
    Shown().Resolution = Shown().EventResolution = 1;
    rbt720_e->SetChecked(true);
}

void TfrmRecord2::rbt320_eClick(TObject*) {
    Shown().Resolution = Shown().EventResolution = 0;
    rbt320->SetChecked(true);
}

void TfrmRecord2::rbt720_eClick(TObject*) {
    Shown().Resolution = Shown().EventResolution = 1;
    rbt720->SetChecked(true);
}

void TfrmRecord2::rbtQualityClick(TObject* sender) {
    const std::array<TRadioButton*, 4> radios{rbtLow, rbtMed, rbtHigh, rbtSuper};
    for (std::size_t q = 0; q < radios.size(); ++q)
        if (radios[q] == sender) Shown().ManualQuality[Channel()] = static_cast<int>(q);
}

void TfrmRecord2::rbtQuality_eClick(TObject* sender) {
    const std::array<TRadioButton*, 4> radios{rbtLow_e, rbtMed_e, rbtHigh_e, rbtSuper_e};
    for (std::size_t q = 0; q < radios.size(); ++q)
        if (radios[q] == sender) Shown().EventQuality[Channel()] = static_cast<int>(q);
}

// ---- RECORD, NETWORK and VOICE IN: the table follows the mouse only ----

void TfrmRecord2::rbtRecordOnMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Shown().ManualRecord[Channel()] = 1;
}

// MANUAL RECORD and NETWORK are never both off.
void TfrmRecord2::rbtRecordOffMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    RecordGroupSettings& g = Shown();
    g.ManualRecord[Channel()] = 0;
    rbtRecordOff->SetChecked(true);
    if (g.ManualNetwork[Channel()] == 0) {
        g.ManualNetwork[Channel()] = 1;
        rbtNetworkOn->SetChecked(true);
    }
}

void TfrmRecord2::rbtNetworkOnMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Shown().ManualNetwork[Channel()] = 1;
}

void TfrmRecord2::rbtNetworkOffMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    RecordGroupSettings& g = Shown();
    g.ManualNetwork[Channel()] = 0;
    if (g.ManualRecord[Channel()] == 0) {
        g.ManualRecord[Channel()] = 1;
        rbtRecordOn->SetChecked(true);
    }
}

void TfrmRecord2::rbtRecordOn_eMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Shown().EventRecord[Channel()] = 1;
}

void TfrmRecord2::rbtRecordOff_eMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Shown().EventRecord[Channel()] = 0;
}

void TfrmRecord2::rbtNetworkOn_eMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Shown().EventNetwork[Channel()] = 1;
}

void TfrmRecord2::rbtNetworkOff_eMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Shown().EventNetwork[Channel()] = 0;
}

void TfrmRecord2::rbtVoiceOnMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Shown().ManualVoice = 1;
}

void TfrmRecord2::rbtVoiceOffMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Shown().ManualVoice = 0;
}

void TfrmRecord2::rbtVoiceOn_eMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Shown().EventVoice = 1;
}

void TfrmRecord2::rbtVoiceOff_eMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Shown().EventVoice = 0;
}

// ---- Event triggers ----

void TfrmRecord2::rbtMotionOn_eMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    rbtMotionOn_e->SetChecked(true);
    rbtM_AlarmOutOn_e->SetEnabled(true);
    rbtM_AlarmOutOff_e->SetEnabled(true);
    Shown().Motion[Channel()] = 1;
    SetEventRecordEnabled(cmbImage_e->ItemIndex() != 0);
}

// Without a trigger there is no event to record.
void TfrmRecord2::rbtMotionOff_eMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    rbtMotionOff_e->SetChecked(true);
    rbtM_AlarmOutOn_e->SetEnabled(false);
    rbtM_AlarmOutOff_e->SetEnabled(false);
    Shown().Motion[Channel()] = 0;
    if (rbtAlarmInOff_e->Checked()) {
        rbtRecordOff_e->SetChecked(true);
        Shown().EventRecord[Channel()] = 0;
        SetEventRecordEnabled(false);
    }
}

void TfrmRecord2::rbtAlarmInOn_eMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    rbtAlarmInOn_e->SetChecked(true);
    rbtAlarmOutOn_e->SetEnabled(true);
    rbtAlarmOutOff_e->SetEnabled(true);
    Shown().AlarmIn[Channel()] = 1;
    SetEventRecordEnabled(cmbImage_e->ItemIndex() != 0);
}

void TfrmRecord2::rbtAlarmInOff_eMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    rbtAlarmInOff_e->SetChecked(true);
    rbtAlarmOutOn_e->SetEnabled(false);
    rbtAlarmOutOff_e->SetEnabled(false);
    Shown().AlarmIn[Channel()] = 0;
    if (rbtMotionOff_e->Checked()) {
        rbtRecordOff_e->SetChecked(true);
        Shown().EventRecord[Channel()] = 0;
        SetEventRecordEnabled(false);
    }
}

void TfrmRecord2::rbtM_AlarmOutOn_eClick(TObject*) {
    Shown().MotionAlarmOut[Channel()] = 1;
}

void TfrmRecord2::rbtM_AlarmOutOff_eClick(TObject*) {
    Shown().MotionAlarmOut[Channel()] = 0;
}

void TfrmRecord2::rbtAlarmOutOn_eClick(TObject*) {
    Shown().AlarmInAlarmOut[Channel()] = 1;
}

void TfrmRecord2::rbtAlarmOutOff_eClick(TObject*) {
    Shown().AlarmInAlarmOut[Channel()] = 0;
}

// ---- Lists and page switches ----

void TfrmRecord2::cmbPre_rec_eChange(TObject*) {
    Shown().PreRecord = cmbPre_rec_e->ItemIndex();
}

void TfrmRecord2::cmbDuration_eChange(TObject*) {
    Shown().Duration[Channel()] = cmbDuration_e->ItemIndex();
}

void TfrmRecord2::rbtOverOnClick(TObject*) {
    Overwrite = 1;
}

void TfrmRecord2::rbtOverOffClick(TObject*) {
    Overwrite = 0;
}

void TfrmRecord2::rbtBackupOnClick(TObject*) {
    AutoBackup = 1;
}

void TfrmRecord2::rbtBackupOffClick(TObject*) {
    AutoBackup = 0;
}

void TfrmRecord2::rbtBackupEventClick(TObject*) {
    AutoBackup = 2;
}

void TfrmRecord2::btnScheduleClick(TObject*) {
    Hide();
    if (frmSchedule != nullptr) frmSchedule->Show();
}
