object frmRecord2: TfrmRecord2
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'RECORD'
  ClientHeight = 496
  ClientWidth = 892
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poMainFormCenter
  PixelsPerInch = 96
  TextHeight = 13
  OnShow = FormShow
  object PageControl1: TPageControl
    Left = 8
    Top = 8
    Width = 876
    Height = 385
    ActivePage = TabSheet1
    TabOrder = 0
    OnChange = PageControl1Change
    object TabSheet1: TTabSheet
      Caption = 'GROUP1'
      object PageControl2: TPageControl
        Left = 4
        Top = 4
        Width = 860
        Height = 344
        ActivePage = TabSheet6
        TabOrder = 0
        OnChange = PageControl2Change
        object TabSheet6: TTabSheet
          Caption = 'CHANNEL1'
        end
        object TabSheet7: TTabSheet
          Caption = 'CHANNEL2'
        end
        object TabSheet8: TTabSheet
          Caption = 'CHANNEL3'
        end
        object TabSheet9: TTabSheet
          Caption = 'CHANNEL4'
        end
      end
    end
    object TabSheet2: TTabSheet
      Caption = 'GROUP2'
      object PageControl3: TPageControl
        Left = 4
        Top = 4
        Width = 860
        Height = 344
        ActivePage = TabSheet10
        TabOrder = 0
        OnChange = PageControl2Change
        object TabSheet10: TTabSheet
          Caption = 'CHANNEL1'
        end
        object TabSheet11: TTabSheet
          Caption = 'CHANNEL2'
        end
        object TabSheet12: TTabSheet
          Caption = 'CHANNEL3'
        end
        object TabSheet13: TTabSheet
          Caption = 'CHANNEL4'
        end
      end
    end
    object TabSheet3: TTabSheet
      Caption = 'GROUP3'
      object PageControl4: TPageControl
        Left = 4
        Top = 4
        Width = 860
        Height = 344
        ActivePage = TabSheet14
        TabOrder = 0
        OnChange = PageControl2Change
        object TabSheet14: TTabSheet
          Caption = 'CHANNEL1'
        end
        object TabSheet15: TTabSheet
          Caption = 'CHANNEL2'
        end
        object TabSheet16: TTabSheet
          Caption = 'CHANNEL3'
        end
        object TabSheet17: TTabSheet
          Caption = 'CHANNEL4'
        end
      end
    end
    object TabSheet4: TTabSheet
      Caption = 'GROUP4'
      object PageControl5: TPageControl
        Left = 4
        Top = 4
        Width = 860
        Height = 344
        ActivePage = TabSheet18
        TabOrder = 0
        OnChange = PageControl2Change
        object TabSheet18: TTabSheet
          Caption = 'CHANNEL1'
        end
        object TabSheet19: TTabSheet
          Caption = 'CHANNEL2'
        end
        object TabSheet20: TTabSheet
          Caption = 'CHANNEL3'
        end
        object TabSheet21: TTabSheet
          Caption = 'CHANNEL4'
        end
      end
    end
    object TabSheet5: TTabSheet
      Caption = 'GROUP5'
      object PageControl6: TPageControl
        Left = 4
        Top = 4
        Width = 860
        Height = 344
        ActivePage = TabSheet22
        TabOrder = 0
        OnChange = PageControl2Change
        object TabSheet22: TTabSheet
          Caption = 'CHANNEL1'
        end
        object TabSheet23: TTabSheet
          Caption = 'CHANNEL2'
        end
        object TabSheet24: TTabSheet
          Caption = 'CHANNEL3'
        end
        object TabSheet25: TTabSheet
          Caption = 'CHANNEL4'
        end
      end
    end
  end
  object GroupBox1: TGroupBox
    Left = 26
    Top = 76
    Width = 416
    Height = 299
    Caption = 'MANUAL'
    TabOrder = 1
    object lbResolution: TLabel
      Left = 10
      Top = 18
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'RESOLUTION'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlResolution: TPanel
      Left = 122
      Top = 20
      Width = 172
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 0
      object rbt320: TRadioButton
        Left = 0
        Top = 2
        Width = 76
        Height = 17
        Caption = '320x240'
        TabOrder = 0
        OnClick = rbt320Click
      end
      object rbt720: TRadioButton
        Left = 88
        Top = 2
        Width = 76
        Height = 17
        Caption = '720x240'
        Checked = True
        TabOrder = 1
        TabStop = True
        OnClick = rbt720Click
      end
    end
    object lbImage: TLabel
      Left = 10
      Top = 44
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'IMAGE RATE(HDD)'
      Layout = tlCenter
      WordWrap = True
    end
    object cmbImage: TComboBox
      Left = 122
      Top = 46
      Width = 96
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      TabOrder = 1
      OnChange = cmbImageChange
    end
    object lbImage_cf: TLabel
      Left = 10
      Top = 70
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'IMAGE RATE(CF)'
      Layout = tlCenter
      WordWrap = True
    end
    object cmbImage_cf: TComboBox
      Left = 122
      Top = 72
      Width = 96
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      Enabled = False
      TabOrder = 2
      OnChange = cmbImage_cfChange
    end
    object lbQuality: TLabel
      Left = 10
      Top = 96
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'QUALITY'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlQuality: TPanel
      Left = 122
      Top = 98
      Width = 244
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 3
      object rbtLow: TRadioButton
        Left = 0
        Top = 2
        Width = 46
        Height = 17
        Caption = 'LOW'
        TabOrder = 0
        OnClick = rbtQualityClick
      end
      object rbtMed: TRadioButton
        Left = 54
        Top = 2
        Width = 68
        Height = 17
        Caption = 'MEDIUM'
        TabOrder = 1
        OnClick = rbtQualityClick
      end
      object rbtHigh: TRadioButton
        Left = 130
        Top = 2
        Width = 50
        Height = 17
        Caption = 'HIGH'
        Checked = True
        TabOrder = 2
        TabStop = True
        OnClick = rbtQualityClick
      end
      object rbtSuper: TRadioButton
        Left = 188
        Top = 2
        Width = 56
        Height = 17
        Caption = 'SUPER'
        TabOrder = 3
        OnClick = rbtQualityClick
      end
    end
    object lbRecord: TLabel
      Left = 10
      Top = 122
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'RECORD'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlRecord: TPanel
      Left = 122
      Top = 124
      Width = 100
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 4
      object rbtRecordOn: TRadioButton
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        Checked = True
        TabOrder = 0
        TabStop = True
        OnClick = rbtRecordOnClick
      end
      object rbtRecordOff: TRadioButton
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        TabOrder = 1
        OnClick = rbtRecordOffClick
      end
    end
    object lbNetwork: TLabel
      Left = 10
      Top = 148
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'NETWORK'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlNetwork: TPanel
      Left = 122
      Top = 150
      Width = 100
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 5
      object rbtNetworkOn: TRadioButton
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
        OnClick = rbtNetworkOnClick
      end
      object rbtNetworkOff: TRadioButton
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
        OnClick = rbtNetworkOffClick
      end
    end
    object lbVoice: TLabel
      Left = 10
      Top = 174
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'VOICE IN'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlVoice: TPanel
      Left = 122
      Top = 176
      Width = 100
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 6
      object rbtVoiceOn: TRadioButton
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
        OnClick = rbtVoiceOnClick
      end
      object rbtVoiceOff: TRadioButton
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
        OnClick = rbtVoiceOffClick
      end
    end
  end
  object GroupBox2: TGroupBox
    Left = 450
    Top = 76
    Width = 416
    Height = 299
    Caption = 'EVENT'
    TabOrder = 2
    object lbResolution_e: TLabel
      Left = 10
      Top = 18
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'RESOLUTION'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlResolution_e: TPanel
      Left = 122
      Top = 20
      Width = 172
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 0
      object rbt320_e: TRadioButton
        Left = 0
        Top = 2
        Width = 76
        Height = 17
        Caption = '320x240'
        Enabled = False
        TabOrder = 0
        OnClick = rbt320_eClick
      end
      object rbt720_e: TRadioButton
        Left = 88
        Top = 2
        Width = 76
        Height = 17
        Caption = '720x240'
        Checked = True
        Enabled = False
        TabOrder = 1
        TabStop = True
        OnClick = rbt720_eClick
      end
    end
    object lbImage_e: TLabel
      Left = 10
      Top = 44
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'IMAGE RATE(HDD)'
      Layout = tlCenter
      WordWrap = True
    end
    object cmbImage_e: TComboBox
      Left = 122
      Top = 46
      Width = 96
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      TabOrder = 1
      OnChange = cmbImage_eChange
    end
    object lbImage_cf_e: TLabel
      Left = 10
      Top = 70
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'IMAGE RATE(CF)'
      Layout = tlCenter
      WordWrap = True
    end
    object cmbImage_e_cf: TComboBox
      Left = 122
      Top = 72
      Width = 96
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      Enabled = False
      TabOrder = 2
      OnChange = cmbImage_e_cfChange
    end
    object lbQuality_e: TLabel
      Left = 10
      Top = 96
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'QUALITY'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlQuality_e: TPanel
      Left = 122
      Top = 98
      Width = 244
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 3
      object rbtLow_e: TRadioButton
        Left = 0
        Top = 2
        Width = 46
        Height = 17
        Caption = 'LOW'
        TabOrder = 0
        OnClick = rbtQuality_eClick
      end
      object rbtMed_e: TRadioButton
        Left = 54
        Top = 2
        Width = 68
        Height = 17
        Caption = 'MEDIUM'
        TabOrder = 1
        OnClick = rbtQuality_eClick
      end
      object rbtHigh_e: TRadioButton
        Left = 130
        Top = 2
        Width = 50
        Height = 17
        Caption = 'HIGH'
        TabOrder = 2
        OnClick = rbtQuality_eClick
      end
      object rbtSuper_e: TRadioButton
        Left = 188
        Top = 2
        Width = 56
        Height = 17
        Caption = 'SUPER'
        Checked = True
        TabOrder = 3
        TabStop = True
        OnClick = rbtQuality_eClick
      end
    end
    object lbRecord_e: TLabel
      Left = 10
      Top = 122
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'RECORD'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlRecord_e: TPanel
      Left = 122
      Top = 124
      Width = 100
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 4
      object rbtRecordOn_e: TRadioButton
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
        OnClick = rbtRecordOn_eClick
      end
      object rbtRecordOff_e: TRadioButton
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
        OnClick = rbtRecordOff_eClick
      end
    end
    object lbNetwork_e: TLabel
      Left = 10
      Top = 148
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'NETWORK'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlNetwork_e: TPanel
      Left = 122
      Top = 150
      Width = 100
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 5
      object rbtNetworkOn_e: TRadioButton
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
        OnClick = rbtNetworkOn_eClick
      end
      object rbtNetworkOff_e: TRadioButton
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
        OnClick = rbtNetworkOff_eClick
      end
    end
    object lbVoice_e: TLabel
      Left = 10
      Top = 174
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'VOICE IN'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlVoice_e: TPanel
      Left = 122
      Top = 176
      Width = 100
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 6
      object rbtVoiceOn_e: TRadioButton
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
        OnClick = rbtVoiceOn_eClick
      end
      object rbtVoiceOff_e: TRadioButton
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
        OnClick = rbtVoiceOff_eClick
      end
    end
    object Bevel1: TBevel
      Left = 10
      Top = 206
      Width = 396
      Height = 2
      Shape = bsTopLine
    end
    object lbMotion_e: TLabel
      Left = 10
      Top = 214
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'MOTION'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlMotion_e: TPanel
      Left = 122
      Top = 216
      Width = 100
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 7
      object rbtMotionOn_e: TRadioButton
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
        OnClick = rbtMotionOn_eClick
      end
      object rbtMotionOff_e: TRadioButton
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
        OnClick = rbtMotionOff_eClick
      end
    end
    object lbMotionOut_e: TLabel
      Left = 230
      Top = 214
      Width = 72
      Height = 26
      AutoSize = False
      Caption = 'ALARM OUT'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlMotionOut_e: TPanel
      Left = 306
      Top = 216
      Width = 100
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 8
      object rbtM_AlarmOutOn_e: TRadioButton
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        Enabled = False
        TabOrder = 0
        OnClick = rbtM_AlarmOutOn_eClick
      end
      object rbtM_AlarmOutOff_e: TRadioButton
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        Enabled = False
        TabOrder = 1
        TabStop = True
        OnClick = rbtM_AlarmOutOff_eClick
      end
    end
    object lbAlarmIn_e: TLabel
      Left = 10
      Top = 240
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'ALARM IN'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlAlarmIn_e: TPanel
      Left = 122
      Top = 242
      Width = 100
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 9
      object rbtAlarmInOn_e: TRadioButton
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
        OnClick = rbtAlarmInOn_eClick
      end
      object rbtAlarmInOff_e: TRadioButton
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
        OnClick = rbtAlarmInOff_eClick
      end
    end
    object lbAlarmOut_e: TLabel
      Left = 230
      Top = 240
      Width = 72
      Height = 26
      AutoSize = False
      Caption = 'ALARM OUT'
      Layout = tlCenter
      WordWrap = True
    end
    object pnlAlarmOut_e: TPanel
      Left = 306
      Top = 242
      Width = 100
      Height = 21
      BevelOuter = bvNone
      Caption = ''
      TabOrder = 10
      object rbtAlarmOutOn_e: TRadioButton
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        Enabled = False
        TabOrder = 0
        OnClick = rbtAlarmOutOn_eClick
      end
      object rbtAlarmOutOff_e: TRadioButton
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        Enabled = False
        TabOrder = 1
        TabStop = True
        OnClick = rbtAlarmOutOff_eClick
      end
    end
    object lbPre_rec_e: TLabel
      Left = 10
      Top = 266
      Width = 108
      Height = 26
      AutoSize = False
      Caption = 'PRE-RECORD'
      Layout = tlCenter
      WordWrap = True
    end
    object cmbPre_rec_e: TComboBox
      Left = 122
      Top = 268
      Width = 96
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      TabOrder = 11
      OnChange = cmbPre_rec_eChange
    end
    object lbDuration_e: TLabel
      Left = 230
      Top = 266
      Width = 72
      Height = 26
      AutoSize = False
      Caption = 'DURATION'
      Layout = tlCenter
      WordWrap = True
    end
    object cmbDuration_e: TComboBox
      Left = 306
      Top = 268
      Width = 96
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      TabOrder = 12
      OnChange = cmbDuration_eChange
    end
  end
  object lbCur_group: TLabel
    Left = 36
    Top = 403
    Width = 108
    Height = 26
    AutoSize = False
    Caption = 'CURRENT GROUP'
    Layout = tlCenter
    WordWrap = True
  end
  object cmbCur_group: TComboBox
    Left = 148
    Top = 405
    Width = 96
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    TabOrder = 3
    OnChange = cmbCur_groupChange
  end
  object lbSchedule: TLabel
    Left = 460
    Top = 403
    Width = 108
    Height = 26
    AutoSize = False
    Caption = 'SCHEDULE'
    Layout = tlCenter
    WordWrap = True
  end
  object btnSchedule: TButton
    Left = 572
    Top = 403
    Width = 75
    Height = 25
    Caption = 'OFF'
    TabOrder = 4
    OnClick = btnScheduleClick
  end
  object lbOverwrite: TLabel
    Left = 36
    Top = 431
    Width = 108
    Height = 26
    AutoSize = False
    Caption = 'OVERWRITE'
    Layout = tlCenter
    WordWrap = True
  end
  object pnlOverwrite: TPanel
    Left = 148
    Top = 433
    Width = 100
    Height = 21
    BevelOuter = bvNone
    Caption = ''
    TabOrder = 5
    object rbtOverOn: TRadioButton
      Left = 0
      Top = 2
      Width = 44
      Height = 17
      Caption = 'ON'
      Checked = True
      TabOrder = 0
      TabStop = True
      OnClick = rbtOverOnClick
    end
    object rbtOverOff: TRadioButton
      Left = 52
      Top = 2
      Width = 48
      Height = 17
      Caption = 'OFF'
      TabOrder = 1
      OnClick = rbtOverOffClick
    end
  end
  object lbStorage: TLabel
    Left = 460
    Top = 431
    Width = 108
    Height = 26
    AutoSize = False
    Caption = 'STORAGE'
    Layout = tlCenter
    WordWrap = True
  end
  object pnlStorage: TPanel
    Left = 572
    Top = 433
    Width = 104
    Height = 21
    BevelOuter = bvNone
    Caption = ''
    TabOrder = 6
    object rbtHdd: TRadioButton
      Left = 0
      Top = 2
      Width = 52
      Height = 17
      Caption = 'HDD'
      Checked = True
      TabOrder = 0
      TabStop = True
      OnClick = rbtHddClick
    end
    object rbtCf: TRadioButton
      Left = 60
      Top = 2
      Width = 44
      Height = 17
      Caption = 'CF'
      TabOrder = 1
      OnClick = rbtCfClick
    end
  end
  object lbAutoBackup: TLabel
    Left = 36
    Top = 459
    Width = 108
    Height = 26
    AutoSize = False
    Caption = 'AUTO BACKUP'
    Layout = tlCenter
    WordWrap = True
  end
  object pnlBackup: TPanel
    Left = 148
    Top = 461
    Width = 172
    Height = 21
    BevelOuter = bvNone
    Caption = ''
    TabOrder = 7
    object rbtBackupOn: TRadioButton
      Left = 0
      Top = 2
      Width = 44
      Height = 17
      Caption = 'ON'
      TabOrder = 0
      OnClick = rbtBackupOnClick
    end
    object rbtBackupOff: TRadioButton
      Left = 52
      Top = 2
      Width = 48
      Height = 17
      Caption = 'OFF'
      Checked = True
      TabOrder = 1
      TabStop = True
      OnClick = rbtBackupOffClick
    end
    object rbtBackupEvent: TRadioButton
      Left = 108
      Top = 2
      Width = 64
      Height = 17
      Caption = 'EVENT'
      TabOrder = 2
      OnClick = rbtBackupEventClick
    end
  end
  object btnOk: TButton
    Left = 696
    Top = 459
    Width = 81
    Height = 25
    Caption = 'OK'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 8
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 785
    Top = 459
    Width = 81
    Height = 25
    Caption = 'CANCEL'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 9
    OnClick = btnCancelClick
  end
end
