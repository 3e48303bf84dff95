object frmPrint: TfrmPrint
  Left = 260
  Top = 120
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'PRINT'
  ClientHeight = 526
  ClientWidth = 689
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  OnClose = FormClose
  OnShow = FormShow
  object Panel1: TPanel
    Left = -1
    Top = -1
    Width = 691
    Height = 474
    BevelOuter = bvNone
    Color = clBlack
    TabOrder = 0
    object Label1: TLabel
      Left = 48
      Top = 40
      Caption = ''
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clWhite
      Font.Height = -13
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      ParentFont = False
      Transparent = True
    end
    object Label2: TLabel
      Left = 440
      Top = 432
      Caption = ''
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clWhite
      Font.Height = -13
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      ParentFont = False
      Transparent = True
    end
  end
  object btnSave: TButton
    Left = 416
    Top = 488
    Width = 81
    Height = 25
    Caption = 'Save As'
    TabOrder = 1
    OnClick = btnSaveClick
  end
  object btnPrint: TButton
    Left = 504
    Top = 488
    Width = 81
    Height = 25
    Caption = 'PRINT'
    TabOrder = 2
    OnClick = btnPrintClick
  end
  object btnClose: TButton
    Left = 592
    Top = 488
    Width = 81
    Height = 25
    Caption = 'CLOSE'
    TabOrder = 3
    OnClick = btnCloseClick
  end
  object SaveDialog1: TSaveDialog
    Left = 16
    Top = 488
  end
  object PrintDialog1: TPrintDialog
    Left = 48
    Top = 488
  end
  object TimerDialogPosition: TTimer
    Enabled = False
    Interval = 1
    OnTimer = TimerDialogPositionTimer
    Left = 80
    Top = 488
  end
end
