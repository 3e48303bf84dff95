object frmRecord2: TfrmRecord2
  OnShow = FormShow
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
  object PageControl1: TPageControl
    OnChange = PageControl1Change
    Left = 8
    Top = 8
    Width = 876
    Height = 385
    ActivePage = TabSheet1
    TabOrder = 0
    object TabSheet1: TTabSheet
      Caption = 'GROUP1'
      object PageControl2: TPageControl
        OnChange = PageControl2Change
        Left = 4
        Top = 4
        Width = 860
        Height = 344
        ActivePage = TabSheet6
        TabOrder = 0
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
        OnChange = PageControl2Change
        Left = 4
        Top = 4
        Width = 860
        Height = 344
        ActivePage = TabSheet10
        TabOrder = 0
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
        OnChange = PageControl2Change
        Left = 4
        Top = 4
        Width = 860
        Height = 344
        ActivePage = TabSheet14
        TabOrder = 0
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
        OnChange = PageControl2Change
        Left = 4
        Top = 4
        Width = 860
        Height = 344
        ActivePage = TabSheet18
        TabOrder = 0
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
        OnChange = PageControl2Change
        Left = 4
        Top = 4
        Width = 860
        Height = 344
        ActivePage = TabSheet22
        TabOrder = 0
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
        OnClick = rbt320Click
        Left = 0
        Top = 2
        Width = 76
        Height = 17
        Caption = '320x240'
        TabOrder = 0
      end
      object rbt720: TRadioButton
        OnClick = rbt720Click
        Left = 88
        Top = 2
        Width = 76
        Height = 17
        Caption = '720x240'
        Checked = True
        TabOrder = 1
        TabStop = True
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
      OnChange = cmbImageChange
      Left = 122
      Top = 46
      Width = 96
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      TabOrder = 1
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
      OnChange = cmbImage_cfChange
      Left = 122
      Top = 72
      Width = 96
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      Enabled = False
      TabOrder = 2
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
        OnClick = rbtQualityClick
        Left = 0
        Top = 2
        Width = 46
        Height = 17
        Caption = 'LOW'
        TabOrder = 0
      end
      object rbtMed: TRadioButton
        OnClick = rbtQualityClick
        Left = 54
        Top = 2
        Width = 68
        Height = 17
        Caption = 'MEDIUM'
        TabOrder = 1
      end
      object rbtHigh: TRadioButton
        OnClick = rbtQualityClick
        Left = 130
        Top = 2
        Width = 50
        Height = 17
        Caption = 'HIGH'
        Checked = True
        TabOrder = 2
        TabStop = True
      end
      object rbtSuper: TRadioButton
        OnClick = rbtQualityClick
        Left = 188
        Top = 2
        Width = 56
        Height = 17
        Caption = 'SUPER'
        TabOrder = 3
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
        OnMouseUp = rbtRecordOnMouseUp
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        Checked = True
        TabOrder = 0
        TabStop = True
      end
      object rbtRecordOff: TRadioButton
        OnMouseUp = rbtRecordOffMouseUp
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        TabOrder = 1
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
        OnMouseUp = rbtNetworkOnMouseUp
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
      end
      object rbtNetworkOff: TRadioButton
        OnMouseUp = rbtNetworkOffMouseUp
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
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
        OnMouseUp = rbtVoiceOnMouseUp
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
      end
      object rbtVoiceOff: TRadioButton
        OnMouseUp = rbtVoiceOffMouseUp
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
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
        OnClick = rbt320_eClick
        Left = 0
        Top = 2
        Width = 76
        Height = 17
        Caption = '320x240'
        Enabled = False
        TabOrder = 0
      end
      object rbt720_e: TRadioButton
        OnClick = rbt720_eClick
        Left = 88
        Top = 2
        Width = 76
        Height = 17
        Caption = '720x240'
        Checked = True
        Enabled = False
        TabOrder = 1
        TabStop = True
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
      OnChange = cmbImage_eChange
      Left = 122
      Top = 46
      Width = 96
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      TabOrder = 1
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
      OnChange = cmbImage_e_cfChange
      Left = 122
      Top = 72
      Width = 96
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      Enabled = False
      TabOrder = 2
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
        OnClick = rbtQuality_eClick
        Left = 0
        Top = 2
        Width = 46
        Height = 17
        Caption = 'LOW'
        TabOrder = 0
      end
      object rbtMed_e: TRadioButton
        OnClick = rbtQuality_eClick
        Left = 54
        Top = 2
        Width = 68
        Height = 17
        Caption = 'MEDIUM'
        TabOrder = 1
      end
      object rbtHigh_e: TRadioButton
        OnClick = rbtQuality_eClick
        Left = 130
        Top = 2
        Width = 50
        Height = 17
        Caption = 'HIGH'
        TabOrder = 2
      end
      object rbtSuper_e: TRadioButton
        OnClick = rbtQuality_eClick
        Left = 188
        Top = 2
        Width = 56
        Height = 17
        Caption = 'SUPER'
        Checked = True
        TabOrder = 3
        TabStop = True
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
        OnMouseUp = rbtRecordOn_eMouseUp
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
      end
      object rbtRecordOff_e: TRadioButton
        OnMouseUp = rbtRecordOff_eMouseUp
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
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
        OnMouseUp = rbtNetworkOn_eMouseUp
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
      end
      object rbtNetworkOff_e: TRadioButton
        OnMouseUp = rbtNetworkOff_eMouseUp
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
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
        OnMouseUp = rbtVoiceOn_eMouseUp
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
      end
      object rbtVoiceOff_e: TRadioButton
        OnMouseUp = rbtVoiceOff_eMouseUp
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
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
        OnMouseUp = rbtMotionOn_eMouseUp
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
      end
      object rbtMotionOff_e: TRadioButton
        OnMouseUp = rbtMotionOff_eMouseUp
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
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
        OnClick = rbtM_AlarmOutOn_eClick
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        Enabled = False
        TabOrder = 0
      end
      object rbtM_AlarmOutOff_e: TRadioButton
        OnClick = rbtM_AlarmOutOff_eClick
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        Enabled = False
        TabOrder = 1
        TabStop = True
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
        OnMouseUp = rbtAlarmInOn_eMouseUp
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        TabOrder = 0
      end
      object rbtAlarmInOff_e: TRadioButton
        OnMouseUp = rbtAlarmInOff_eMouseUp
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        TabOrder = 1
        TabStop = True
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
        OnClick = rbtAlarmOutOn_eClick
        Left = 0
        Top = 2
        Width = 44
        Height = 17
        Caption = 'ON'
        Enabled = False
        TabOrder = 0
      end
      object rbtAlarmOutOff_e: TRadioButton
        OnClick = rbtAlarmOutOff_eClick
        Left = 52
        Top = 2
        Width = 48
        Height = 17
        Caption = 'OFF'
        Checked = True
        Enabled = False
        TabOrder = 1
        TabStop = True
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
      OnChange = cmbPre_rec_eChange
      Left = 122
      Top = 268
      Width = 96
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      TabOrder = 11
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
      OnChange = cmbDuration_eChange
      Left = 306
      Top = 268
      Width = 96
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      TabOrder = 12
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
    OnChange = cmbCur_groupChange
    Left = 148
    Top = 405
    Width = 96
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    TabOrder = 3
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
    OnClick = btnScheduleClick
    Left = 572
    Top = 403
    Width = 75
    Height = 25
    Caption = 'OFF'
    TabOrder = 4
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
      OnClick = rbtOverOnClick
      Left = 0
      Top = 2
      Width = 44
      Height = 17
      Caption = 'ON'
      Checked = True
      TabOrder = 0
      TabStop = True
    end
    object rbtOverOff: TRadioButton
      OnClick = rbtOverOffClick
      Left = 52
      Top = 2
      Width = 48
      Height = 17
      Caption = 'OFF'
      TabOrder = 1
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
      OnClick = rbtHddClick
      Left = 0
      Top = 2
      Width = 52
      Height = 17
      Caption = 'HDD'
      Checked = True
      TabOrder = 0
      TabStop = True
    end
    object rbtCf: TRadioButton
      OnClick = rbtCfClick
      Left = 60
      Top = 2
      Width = 44
      Height = 17
      Caption = 'CF'
      TabOrder = 1
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
      OnClick = rbtBackupOnClick
      Left = 0
      Top = 2
      Width = 44
      Height = 17
      Caption = 'ON'
      TabOrder = 0
    end
    object rbtBackupOff: TRadioButton
      OnClick = rbtBackupOffClick
      Left = 52
      Top = 2
      Width = 48
      Height = 17
      Caption = 'OFF'
      Checked = True
      TabOrder = 1
      TabStop = True
    end
    object rbtBackupEvent: TRadioButton
      OnClick = rbtBackupEventClick
      Left = 108
      Top = 2
      Width = 64
      Height = 17
      Caption = 'EVENT'
      TabOrder = 2
    end
  end
  object btnOk: TButton
    OnClick = btnOkClick
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
  end
  object btnCancel: TButton
    OnClick = btnCancelClick
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
  end
end
