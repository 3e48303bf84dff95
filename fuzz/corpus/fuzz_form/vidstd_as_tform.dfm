object frmVidstd: TForm
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'SELECT VIDEO STANDARD'
  ClientHeight = 112
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
  object Label1: TLabel
    Left = 16
    Top = 16
    Width = 288
    Height = 26
    Alignment = taCenter
    AutoSize = False
    Caption = 'Choose the video standard of the recorder.'
    WordWrap = True
  end
  object btnNTSC: TButton
    Left = 64
    Top = 60
    Width = 88
    Height = 32
    Caption = 'NTSC'
    TabOrder = 0
  end
  object btnPAL: TButton
    Left = 168
    Top = 60
    Width = 88
    Height = 32
    Caption = 'PAL'
    TabOrder = 1
  end
end
