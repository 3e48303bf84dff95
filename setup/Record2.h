// The recording page: five recording groups of four channels with their manual and event settings. It
// edits a table read from the setup menu's working copy of config.ini and writes it back on OK, which also
// sends holiday.ini and schedule.dat to the recorder. Code by concern: Record2.cpp (opening, loading,
// showing a channel), Record2_rules.cpp (rate lists and the controls' rules), Record2_save.cpp (OK and
// CANCEL).
#pragma once

#include "setup/ConfigAccess.h"
#include "setup/RecordRates.h"
#include "setup/RecordSettings.h"

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <array>
#include <string>

class TfrmRecord2 : public TForm {
public:
    explicit TfrmRecord2(TComponent* owner);

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TPageControl* PageControl2 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TPageControl* PageControl3 = nullptr;
    TTabSheet* TabSheet3 = nullptr;
    TPageControl* PageControl4 = nullptr;
    TTabSheet* TabSheet4 = nullptr;
    TPageControl* PageControl5 = nullptr;
    TTabSheet* TabSheet5 = nullptr;
    TPageControl* PageControl6 = nullptr;
    // The manual and event boxes lie over the channel pages: one set of controls serves every group and
    // channel.
    TGroupBox* GroupBox1 = nullptr;
    TLabel* lbResolution = nullptr;
    TRadioButton* rbt320 = nullptr;
    TRadioButton* rbt720 = nullptr;
    TLabel* lbImage = nullptr;
    TComboBox* cmbImage = nullptr;
    TLabel* lbImage_cf = nullptr;
    TComboBox* cmbImage_cf = nullptr;
    TLabel* lbQuality = nullptr;
    TRadioButton* rbtLow = nullptr;
    TRadioButton* rbtMed = nullptr;
    TRadioButton* rbtHigh = nullptr;
    TRadioButton* rbtSuper = nullptr;
    TLabel* lbRecord = nullptr;
    TRadioButton* rbtRecordOn = nullptr;
    TRadioButton* rbtRecordOff = nullptr;
    TLabel* lbNetwork = nullptr;
    TRadioButton* rbtNetworkOn = nullptr;
    TRadioButton* rbtNetworkOff = nullptr;
    TLabel* lbVoice = nullptr;
    TRadioButton* rbtVoiceOn = nullptr;
    TRadioButton* rbtVoiceOff = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TLabel* lbResolution_e = nullptr;
    TRadioButton* rbt320_e = nullptr;
    TRadioButton* rbt720_e = nullptr;
    TLabel* lbImage_e = nullptr;
    TComboBox* cmbImage_e = nullptr;
    TLabel* lbImage_cf_e = nullptr;
    TComboBox* cmbImage_e_cf = nullptr;
    TLabel* lbQuality_e = nullptr;
    TRadioButton* rbtLow_e = nullptr;
    TRadioButton* rbtMed_e = nullptr;
    TRadioButton* rbtHigh_e = nullptr;
    TRadioButton* rbtSuper_e = nullptr;
    TLabel* lbRecord_e = nullptr;
    TRadioButton* rbtRecordOn_e = nullptr;
    TRadioButton* rbtRecordOff_e = nullptr;
    TLabel* lbNetwork_e = nullptr;
    TRadioButton* rbtNetworkOn_e = nullptr;
    TRadioButton* rbtNetworkOff_e = nullptr;
    TLabel* lbVoice_e = nullptr;
    TRadioButton* rbtVoiceOn_e = nullptr;
    TRadioButton* rbtVoiceOff_e = nullptr;
    TLabel* lbMotion_e = nullptr;
    TRadioButton* rbtMotionOn_e = nullptr;
    TRadioButton* rbtMotionOff_e = nullptr;
    TLabel* lbMotionOut_e = nullptr;
    TRadioButton* rbtM_AlarmOutOn_e = nullptr;
    TRadioButton* rbtM_AlarmOutOff_e = nullptr;
    TLabel* lbAlarmIn_e = nullptr;
    TRadioButton* rbtAlarmInOn_e = nullptr;
    TRadioButton* rbtAlarmInOff_e = nullptr;
    TLabel* lbAlarmOut_e = nullptr;
    TRadioButton* rbtAlarmOutOn_e = nullptr;
    TRadioButton* rbtAlarmOutOff_e = nullptr;
    TLabel* lbPre_rec_e = nullptr;
    TComboBox* cmbPre_rec_e = nullptr;
    TLabel* lbDuration_e = nullptr;
    TComboBox* cmbDuration_e = nullptr;
    TLabel* lbCur_group = nullptr;
    TComboBox* cmbCur_group = nullptr;
    TLabel* lbSchedule = nullptr;
    TButton* btnSchedule = nullptr;
    TLabel* lbOverwrite = nullptr;
    TRadioButton* rbtOverOn = nullptr;
    TRadioButton* rbtOverOff = nullptr;
    TLabel* lbStorage = nullptr;
    TRadioButton* rbtHdd = nullptr;
    TRadioButton* rbtCf = nullptr;
    TLabel* lbAutoBackup = nullptr;
    TRadioButton* rbtBackupOn = nullptr;
    TRadioButton* rbtBackupOff = nullptr;
    TRadioButton* rbtBackupEvent = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;

    // ---- The table and the page's state ----
    std::array<RecordGroupSettings, kRecordGroups> Groups{};
    int ShownGroup = 0;   // 0..4
    int ShownChannel = 0; // 0..3
    int CurrentGroup = 0; // 0..4, the entry of cmbCur_group
    int InitialGroup = 1; // 1..5
    int CameraCount = 0;
    int MaxFrameRate = 30; // 30 NTSC, 25 PAL
    // Bit 1 holiday.ini, bit 2 schedule.dat: what OKs of this pass got to the recorder (3 after a whole
    // OK); the setup menu's APPLY sends it with the recorder's apply command.
    DWORD Modified = 0;
    BYTE Overwrite = 1;
    BYTE Storage = 0;
    DWORD AutoBackup = 0;
    BYTE ScheduleOn = 0;
    // The user picked an EVENT rate by hand: the EVENT rule then switches EVENT RECORD on.
    BYTE EventRateChosen = 0;
    int RemainingHddRate = 0;
    int RemainingCfRate = 0;
    // The setup menu's view of config.ini, taken when the keys are loaded.
    TConfigAccess Config;
    // The table and current group as loaded from config.ini: OK writes only the keys whose values the
    // user changed since.
    RecordPageSettings Loaded;
    int LoadedGroup = 0;

    // ---- Opening (the video-standard window sets MaxFrameRate, then calls these and shows the page) ----
    void SetCurrentGroup(int group);
    void FillLists();
    void LoadRecordConfig();
    void ShowGroupChannel(int channel);
    void ClearModified() { Modified = 0; }
    DWORD IsModified() const { return Modified; }
    BYTE GetScheduleOn() const { return ScheduleOn; }
    void SetScheduleOn(bool on);
    // The table as the keys see it, and back.
    RecordPageSettings PageSettings() const;
    void SetPageSettings(const RecordPageSettings& settings);

    void FormShow(TObject* sender);
    void PageControl1Change(TObject* sender);
    // Every group's channel tabs.
    void PageControl2Change(TObject* sender);
    void cmbCur_groupChange(TObject* sender);
    void rbt320Click(TObject* sender);
    void rbt720Click(TObject* sender);
    void rbt320_eClick(TObject* sender);
    void rbt720_eClick(TObject* sender);
    void rbtQualityClick(TObject* sender);
    void rbtQuality_eClick(TObject* sender);
    void rbtRecordOnClick(TObject* sender);
    void rbtRecordOffClick(TObject* sender);
    void rbtNetworkOnClick(TObject* sender);
    void rbtNetworkOffClick(TObject* sender);
    void rbtRecordOn_eClick(TObject* sender);
    void rbtRecordOff_eClick(TObject* sender);
    void rbtNetworkOn_eClick(TObject* sender);
    void rbtNetworkOff_eClick(TObject* sender);
    void rbtVoiceOnClick(TObject* sender);
    void rbtVoiceOffClick(TObject* sender);
    void rbtVoiceOn_eClick(TObject* sender);
    void rbtVoiceOff_eClick(TObject* sender);
    void rbtMotionOn_eClick(TObject* sender);
    void rbtMotionOff_eClick(TObject* sender);
    void rbtAlarmInOn_eClick(TObject* sender);
    void rbtAlarmInOff_eClick(TObject* sender);
    void rbtM_AlarmOutOn_eClick(TObject* sender);
    void rbtM_AlarmOutOff_eClick(TObject* sender);
    void rbtAlarmOutOn_eClick(TObject* sender);
    void rbtAlarmOutOff_eClick(TObject* sender);
    void cmbPre_rec_eChange(TObject* sender);
    void cmbDuration_eChange(TObject* sender);
    void rbtOverOnClick(TObject* sender);
    void rbtOverOffClick(TObject* sender);
    void rbtHddClick(TObject* sender);
    void rbtCfClick(TObject* sender);
    void rbtBackupOnClick(TObject* sender);
    void rbtBackupOffClick(TObject* sender);
    void rbtBackupEventClick(TObject* sender);
    void btnScheduleClick(TObject* sender);
    void cmbImageChange(TObject* sender);
    void cmbImage_cfChange(TObject* sender);
    void cmbImage_eChange(TObject* sender);
    void cmbImage_e_cfChange(TObject* sender);
    void btnOkClick(TObject* sender);
    void btnCancelClick(TObject* sender);

private:
    // Radios the page checks itself show the table and run no handler's rule: only the user's own clicks
    // (mouse or keyboard) change it. Every handler runs its work through UserChange, which ignores a
    // click the page caused and sets controls under a TSettingControls scope.
    struct TSettingControls {
        explicit TSettingControls(TfrmRecord2& page) : page_(page) { ++page_.settingControls_; }
        ~TSettingControls() { --page_.settingControls_; }
        TSettingControls(const TSettingControls&) = delete;
        TSettingControls& operator=(const TSettingControls&) = delete;
        TfrmRecord2& page_;
    };
    template <class Work>
    void UserChange(Work work) {
        if (settingControls_ > 0) return;
        const TSettingControls setting(*this);
        work();
    }
    int settingControls_ = 0;

    // One storage's pair of lists and the rates behind them.
    struct RateSide {
        TComboBox* manual;
        TComboBox* event;
        std::array<int, 4>& manualRate;
        std::array<int, 4>& eventRate;
        bool cf;
    };

    static const TFormBindings& Bindings();
    RecordGroupSettings& Shown() { return Groups[static_cast<std::size_t>(ShownGroup)]; }
    std::size_t Channel() const { return static_cast<std::size_t>(ShownChannel); }
    RateSide Side(bool cf);
    TPageControl* ChannelTabs(int group) const;
    void ShowGroup(int group);
    // Which of the four rate lists and AUTO BACKUP radios the selected storage offers.
    void EnableStorageControls();
    void ClearRateLists();
    // Fills the four lists; after an EVENT change a MANUAL list that starts at 1 also lifts its rate.
    void BuildRateListControls(bool afterEventRule);
    void FillRateList(TComboBox* list, const RateListSpec& rates);
    void ManualRateRule(bool cf);
    void EventRateRule(bool cf);
    // The MANUAL rate made 1 and MANUAL RECORD on, when an EVENT rate needs a MANUAL one.
    void RaiseManualRate(const RateSide& side);
    void SetManualSwitchesEnabled(bool enabled);
    void SetEventRecordEnabled(bool enabled);
    void SetEventNetworkEnabled(bool enabled);
    // On channel 1 the group-wide controls can be changed; on the others they are locked.
    void SetGroupControlsEnabled(bool enabled);
    void EmptyPageLists();
    // holiday.ini, then schedule.dat, each waiting for its reply; false (after telling the user, unless the
    // application is ending) when one did not get through.
    bool SendScheduleFiles();
    void RestoreCopy(const std::string& copy, const std::string& file);
    // CANCEL's work: the schedule window's copies back, the page closed, the menu shown.
    void TakeBack();

    // CANCEL was pressed while OK waited for the recorder: OK stops there and takes the edits back.
};

extern TFormVar<TfrmRecord2> frmRecord2;
