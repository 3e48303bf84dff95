// The recording page: five recording groups of four channels with their manual and event settings.
#pragma once

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

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

private:
    static const TFormBindings& Bindings();
};

extern TfrmRecord2* frmRecord2;
