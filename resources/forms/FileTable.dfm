object FrmFileTable: TFrmFileTable
  Left = 380
  Top = 120
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'SEARCH CF/SD'
  ClientHeight = 578
  ClientWidth = 481
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  OnShow = FormShow
  object lbPage: TLabel
    Left = 336
    Top = 19
    Caption = '0000/0000'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
  end
  object lbBackup: TLabel
    Left = 97
    Top = 66
    Caption = 'UPDATED'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object lbSearch: TLabel
    Left = 212
    Top = 66
    Caption = 'START TIME'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object lbDevice: TLabel
    Left = 363
    Top = 66
    Caption = 'RECORDER ID'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object btn1: TButton
    Left = 16
    Top = 88
    Width = 449
    Height = 41
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Courier New'
    Font.Style = []
    ParentFont = False
    TabOrder = 0
    OnClick = btn1Click
  end
  object btn2: TButton
    Left = 16
    Top = 144
    Width = 449
    Height = 41
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Courier New'
    Font.Style = []
    ParentFont = False
    TabOrder = 1
    OnClick = btn2Click
  end
  object btn3: TButton
    Left = 16
    Top = 200
    Width = 449
    Height = 41
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Courier New'
    Font.Style = []
    ParentFont = False
    TabOrder = 2
    OnClick = btn3Click
  end
  object btn4: TButton
    Left = 16
    Top = 256
    Width = 449
    Height = 41
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Courier New'
    Font.Style = []
    ParentFont = False
    TabOrder = 3
    OnClick = btn4Click
  end
  object btn5: TButton
    Left = 16
    Top = 312
    Width = 449
    Height = 41
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Courier New'
    Font.Style = []
    ParentFont = False
    TabOrder = 4
    OnClick = btn5Click
  end
  object btn6: TButton
    Left = 16
    Top = 368
    Width = 449
    Height = 41
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Courier New'
    Font.Style = []
    ParentFont = False
    TabOrder = 5
    OnClick = btn6Click
  end
  object btn7: TButton
    Left = 16
    Top = 424
    Width = 449
    Height = 41
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Courier New'
    Font.Style = []
    ParentFont = False
    TabOrder = 6
    OnClick = btn7Click
  end
  object btn8: TButton
    Left = 16
    Top = 480
    Width = 449
    Height = 41
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Courier New'
    Font.Style = []
    ParentFont = False
    TabOrder = 7
    OnClick = btn8Click
  end
  object btnCancel: TButton
    Left = 384
    Top = 537
    Width = 81
    Height = 25
    Caption = 'CANCEL'
    TabOrder = 8
    OnClick = btnCancelClick
  end
  object BmButton1: TBmButton
    Left = 300
    Top = 15
    Width = 24
    Height = 24
    Bitmap.FileName = 'skins/filetable_prev.bmp'
    TotalFrames = 2
    Cursor = crHandPoint
    RepeatInterval = 100
    OnClick = BmButton1Click
  end
  object BmButton2: TBmButton
    Left = 420
    Top = 15
    Width = 24
    Height = 24
    Bitmap.FileName = 'skins/filetable_next.bmp'
    TotalFrames = 2
    Cursor = crHandPoint
    RepeatInterval = 100
    OnClick = BmButton2Click
  end
end
