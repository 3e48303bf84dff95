object frmSystem: TfrmSystem
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'SYSTEM'
  ClientHeight = 213
  ClientWidth = 344
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
  object Label1: TLabel
    Left = 16
    Top = 14
    Width = 96
    Height = 26
    AutoSize = False
    Caption = 'TITLE'
    Layout = tlCenter
    WordWrap = True
  end
  object edtTitle: TEdit
    Left = 120
    Top = 16
    Width = 120
    Height = 21
    MaxLength = 9
    Text = ''
    TabOrder = 0
    OnKeyDown = edtTitleKeyDown
    OnKeyPress = edtTitleKeyPress
    OnKeyUp = edtTitleKeyUp
  end
  object Label6: TLabel
    Left = 16
    Top = 46
    Width = 96
    Height = 26
    AutoSize = False
    Caption = 'SUMMER TIME'
    Layout = tlCenter
    WordWrap = True
  end
  object rbtOn: TRadioButton
    Left = 120
    Top = 50
    Width = 56
    Height = 17
    Caption = 'ON'
    TabOrder = 1
    OnClick = rbtOnClick
  end
  object rbtOff: TRadioButton
    Left = 184
    Top = 50
    Width = 56
    Height = 17
    Caption = 'OFF'
    Checked = True
    TabOrder = 2
    TabStop = True
    OnClick = rbtOffClick
  end
  object Label4: TLabel
    Left = 192
    Top = 82
    Width = 56
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = 'WEEK'
  end
  object Label5: TLabel
    Left = 264
    Top = 82
    Width = 64
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = 'DAY'
  end
  object Label2: TLabel
    Left = 16
    Top = 98
    Width = 96
    Height = 26
    AutoSize = False
    Caption = 'START MONTH'
    Layout = tlCenter
    WordWrap = True
  end
  object cmbStart_m: TComboBox
    Left = 120
    Top = 100
    Width = 56
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    TabOrder = 3
    OnChange = cmbStart_mChange
  end
  object cmbStart_w: TComboBox
    Left = 192
    Top = 100
    Width = 56
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    TabOrder = 4
    OnChange = cmbStart_wChange
  end
  object cmbStart_d: TComboBox
    Left = 264
    Top = 100
    Width = 64
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    TabOrder = 5
    OnChange = cmbStart_dChange
  end
  object Label3: TLabel
    Left = 16
    Top = 126
    Width = 96
    Height = 26
    AutoSize = False
    Caption = 'END MONTH'
    Layout = tlCenter
    WordWrap = True
  end
  object cmbEnd_m: TComboBox
    Left = 120
    Top = 128
    Width = 56
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    TabOrder = 6
    OnChange = cmbEnd_mChange
  end
  object cmbEnd_w: TComboBox
    Left = 192
    Top = 128
    Width = 56
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    TabOrder = 7
    OnChange = cmbEnd_wChange
  end
  object cmbEnd_d: TComboBox
    Left = 264
    Top = 128
    Width = 64
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    TabOrder = 8
    OnChange = cmbEnd_dChange
  end
  object btnOk: TButton
    Left = 158
    Top = 172
    Width = 81
    Height = 25
    Caption = 'OK'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 9
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 247
    Top = 172
    Width = 81
    Height = 25
    Caption = 'CANCEL'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 10
    OnClick = btnCancelClick
  end
end
