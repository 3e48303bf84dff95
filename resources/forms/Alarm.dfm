object frmAlarm: TfrmAlarm
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'DEVICE->ALARM'
  ClientHeight = 193
  ClientWidth = 320
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
  object GroupBox1: TGroupBox
    Left = 12
    Top = 8
    Width = 296
    Height = 52
    Caption = 'CAMERA'
    TabOrder = 0
    object cmbCam: TComboBox
      Left = 12
      Top = 20
      Width = 160
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      TabOrder = 0
      OnChange = cmbCamChange
    end
  end
  object GroupBox2: TGroupBox
    Left = 12
    Top = 68
    Width = 296
    Height = 76
    Caption = 'ALARM INPUT'
    TabOrder = 1
    object rbtOpen: TRadioButton
      Left = 16
      Top = 22
      Width = 200
      Height = 17
      Caption = 'NORMAL OPEN'
      Checked = True
      TabOrder = 0
      TabStop = True
    end
    object rbtClose: TRadioButton
      Left = 16
      Top = 46
      Width = 200
      Height = 17
      Caption = 'NORMAL CLOSE'
      TabOrder = 1
    end
  end
  object btnPrev: TButton
    Left = 138
    Top = 156
    Width = 81
    Height = 25
    Caption = 'Prev'
    TabOrder = 2
    OnClick = btnPrevClick
  end
  object btnCancel: TButton
    Left = 227
    Top = 156
    Width = 81
    Height = 25
    Caption = 'CANCEL'
    TabOrder = 3
    OnClick = btnCancelClick
  end
end
