object frmMulticast: TfrmMulticast
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'NETWORK->MULTICAST'
  ClientHeight = 217
  ClientWidth = 352
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
    Top = 12
    Width = 156
    Height = 120
    Caption = 'SCOPE'
    TabOrder = 0
    object rdtLine: TRadioButton
      Left = 16
      Top = 22
      Width = 128
      Height = 17
      Caption = 'LINE'
      Checked = True
      TabOrder = 0
      TabStop = True
      OnClick = rdtLineClick
    end
    object rdtSite: TRadioButton
      Left = 16
      Top = 46
      Width = 128
      Height = 17
      Caption = 'SITE'
      TabOrder = 1
      OnClick = rdtSiteClick
    end
    object rdtOrgan: TRadioButton
      Left = 16
      Top = 70
      Width = 128
      Height = 17
      Caption = 'ORGANIZATION'
      TabOrder = 2
      OnClick = rdtOrganClick
    end
    object rdtGlobal: TRadioButton
      Left = 16
      Top = 94
      Width = 128
      Height = 17
      Caption = 'GLOBAL'
      TabOrder = 3
      OnClick = rdtGlobalClick
    end
  end
  object GroupBox2: TGroupBox
    Left = 184
    Top = 12
    Width = 156
    Height = 120
    Caption = 'BANDWIDTH'
    TabOrder = 1
    object rdtFull: TRadioButton
      Left = 16
      Top = 22
      Width = 128
      Height = 17
      Caption = 'FULL'
      Checked = True
      TabOrder = 0
      TabStop = True
      OnClick = rdtFullClick
    end
    object rdt384: TRadioButton
      Left = 16
      Top = 46
      Width = 128
      Height = 17
      Caption = '384 Kbps'
      TabOrder = 1
      OnClick = rdt384Click
    end
    object rdt768: TRadioButton
      Left = 16
      Top = 70
      Width = 128
      Height = 17
      Caption = '768 Kbps'
      TabOrder = 2
      OnClick = rdt768Click
    end
    object rdt1_5: TRadioButton
      Left = 16
      Top = 94
      Width = 128
      Height = 17
      Caption = '1.5 Mbps'
      TabOrder = 3
      OnClick = rdt1_5Click
    end
  end
  object Label1: TLabel
    Left = 12
    Top = 151
    Width = 44
    Height = 13
    AutoSize = False
    Caption = 'PORT'
  end
  object edtPort: TEdit
    Left = 60
    Top = 147
    Width = 72
    Height = 21
    MaxLength = 5
    Text = '5000'
    TabOrder = 2
  end
  object btnOk: TButton
    Left = 170
    Top = 180
    Width = 81
    Height = 25
    Caption = 'OK'
    TabOrder = 3
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 259
    Top = 180
    Width = 81
    Height = 25
    Caption = 'CANCEL'
    TabOrder = 4
    OnClick = btnCancelClick
  end
end
