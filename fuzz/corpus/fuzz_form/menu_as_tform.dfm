object frmMenu: TForm
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'SETUP MENU'
  ClientHeight = 384
  ClientWidth = 397
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'MS Sans Serif'
  Font.Style = [fsBold]
  Position = poMainFormCenter
  PixelsPerInch = 96
  TextHeight = 13
  object btnDevice: TButton
    Left = 48
    Top = 24
    Width = 301
    Height = 48
    Caption = 'DEVICE'
    TabOrder = 0
  end
  object btnRecord: TButton
    Left = 48
    Top = 88
    Width = 301
    Height = 48
    Caption = 'RECORD'
    TabOrder = 1
  end
  object btnSystem: TButton
    Left = 48
    Top = 152
    Width = 301
    Height = 48
    Caption = 'SYSTEM'
    TabOrder = 2
  end
  object btnLoglist: TButton
    Left = 48
    Top = 216
    Width = 301
    Height = 48
    Caption = 'LOG LIST'
    TabOrder = 3
  end
  object btnInfo: TButton
    Left = 48
    Top = 280
    Width = 301
    Height = 48
    Caption = 'INFORMATION'
    TabOrder = 4
  end
  object btnOk: TButton
    Left = 179
    Top = 343
    Width = 81
    Height = 25
    Caption = 'APPLY'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 5
  end
  object btnCancel: TButton
    Left = 268
    Top = 343
    Width = 81
    Height = 25
    Caption = 'CANCEL'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 6
  end
  object btnSave: TButton
    Left = 48
    Top = 408
    Width = 301
    Height = 25
    Caption = 'Save as Config'
    TabOrder = 7
  end
  object btnNetwork: TButton
    Left = 48
    Top = 440
    Width = 301
    Height = 25
    Caption = 'NETWORK'
    TabOrder = 8
  end
end
