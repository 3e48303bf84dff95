object frmLoglist: TForm
  Left = 380
  Top = 160
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'LOG LIST'
  ClientHeight = 473
  ClientWidth = 481
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  object Label1: TLabel
    Left = 16
    Top = 12
    Caption = 'LOG LIST'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object lbLogList: TListBox
    Left = 16
    Top = 36
    Width = 449
    Height = 384
    ItemHeight = 13
    TabOrder = 0
  end
  object btnSaveAs: TButton
    Left = 296
    Top = 432
    Width = 81
    Height = 25
    Caption = 'Save As'
    TabOrder = 1
  end
  object btnExit: TButton
    Left = 384
    Top = 432
    Width = 81
    Height = 25
    Caption = 'EXIT'
    TabOrder = 2
  end
  object SaveDialog1: TSaveDialog
    Left = 16
    Top = 432
  end
  object TimerDialogPosition: TTimer
    Enabled = False
    Interval = 1
    Left = 48
    Top = 432
  end
end
