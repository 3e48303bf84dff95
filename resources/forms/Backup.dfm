object frmBackup: TfrmBackup
  Left = 400
  Top = 260
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'BACKUP'
  ClientHeight = 249
  ClientWidth = 401
  Color = clBtnFace
  Enabled = False
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  OnShow = FormShow
  object lbSTime: TLabel
    Left = 16
    Top = 16
    Caption = 'START'
  end
  object lbStartTime: TLabel
    Left = 128
    Top = 16
    Caption = ''
  end
  object lbETime: TLabel
    Left = 16
    Top = 40
    Caption = 'END'
  end
  object lbEndTime: TLabel
    Left = 128
    Top = 40
    Caption = ''
  end
  object lbType: TLabel
    Left = 16
    Top = 80
    Caption = 'TYPE'
  end
  object lbBackupLocation: TLabel
    Left = 16
    Top = 112
    Caption = 'DESTINATION'
  end
  object lbBackup: TLabel
    Left = 16
    Top = 148
    Caption = 'BACKUP'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
  end
  object lbSize: TLabel
    Left = 128
    Top = 148
    Caption = '0M'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object lbFree: TLabel
    Left = 16
    Top = 172
    Caption = 'FREE'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
  end
  object lbFreeSize: TLabel
    Left = 128
    Top = 172
    Caption = '0M'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object cmbType: TComboBox
    Left = 128
    Top = 76
    Width = 121
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    ItemIndex = 0
    Items.Strings = (
      'ALL'
      'EVENT')
    TabOrder = 0
    OnChange = cmbTypeChange
  end
  object edtPath: TEdit
    Left = 128
    Top = 108
    Width = 225
    Height = 21
    ReadOnly = True
    TabOrder = 1
  end
  object btnBrowse: TButton
    Left = 361
    Top = 108
    Width = 24
    Height = 21
    Caption = '...'
    TabOrder = 2
    OnClick = btnBrowseClick
  end
  object lbPath: TListBox
    Left = 128
    Top = 132
    Width = 225
    Height = 17
    ItemHeight = 13
    TabOrder = 3
    Visible = False
  end
  object btnBackupStart: TButton
    Left = 191
    Top = 208
    Width = 105
    Height = 25
    Caption = 'BACKUP START'
    TabOrder = 4
    OnClick = btnBackupStartClick
  end
  object btnCancel: TButton
    Left = 304
    Top = 208
    Width = 81
    Height = 25
    Caption = 'CANCEL'
    TabOrder = 5
    OnClick = btnCancelClick
  end
  object TimerSD: TTimer
    Enabled = False
    Interval = 1
    OnTimer = TimerSDTimer
    Left = 16
    Top = 208
  end
end
