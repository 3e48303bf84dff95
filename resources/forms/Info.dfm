object frmInfo: TfrmInfo
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'INFORMATION'
  ClientHeight = 234
  ClientWidth = 420
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
    Left = 20
    Top = 16
    Width = 150
    Height = 13
    AutoSize = False
    Caption = 'SYSTEM VERSION'
  end
  object Label2: TLabel
    Left = 180
    Top = 16
    Width = 224
    Height = 13
    AutoSize = False
    Caption = '-'
  end
  object Label3: TLabel
    Left = 20
    Top = 42
    Width = 150
    Height = 13
    AutoSize = False
    Caption = 'SYSTEM TITLE'
  end
  object Label4: TLabel
    Left = 180
    Top = 42
    Width = 224
    Height = 13
    AutoSize = False
    Caption = '-'
  end
  object Label5: TLabel
    Left = 20
    Top = 68
    Width = 150
    Height = 13
    AutoSize = False
    Caption = 'SYSTEM APPLICATION'
  end
  object Label6: TLabel
    Left = 180
    Top = 68
    Width = 224
    Height = 13
    AutoSize = False
    Caption = '-'
  end
  object Label7: TLabel
    Left = 20
    Top = 94
    Width = 150
    Height = 13
    AutoSize = False
    Caption = 'HDD'
  end
  object Label8: TLabel
    Left = 180
    Top = 94
    Width = 224
    Height = 13
    AutoSize = False
    Caption = '-'
  end
  object Label9: TLabel
    Left = 20
    Top = 120
    Width = 150
    Height = 13
    AutoSize = False
    Caption = 'IP ADDRESS'
  end
  object Label10: TLabel
    Left = 180
    Top = 120
    Width = 224
    Height = 13
    AutoSize = False
    Caption = '-'
  end
  object Label11: TLabel
    Left = 20
    Top = 146
    Width = 150
    Height = 13
    AutoSize = False
    Caption = 'MAC'
  end
  object Label12: TLabel
    Left = 180
    Top = 146
    Width = 224
    Height = 13
    AutoSize = False
    Caption = '-'
  end
  object Label13: TLabel
    Left = 20
    Top = 172
    Width = 150
    Height = 13
    AutoSize = False
    Caption = 'MICOM'
  end
  object Label14: TLabel
    Left = 180
    Top = 172
    Width = 224
    Height = 13
    AutoSize = False
    Caption = '-'
  end
  object btnPrev: TButton
    Left = 323
    Top = 197
    Width = 81
    Height = 25
    Caption = 'Prev'
    TabOrder = 0
    OnClick = btnPrevClick
  end
end
