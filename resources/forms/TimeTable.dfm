object frmTimeTable: TfrmTimeTable
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'TIME TABLE'
  ClientHeight = 357
  ClientWidth = 722
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
  object StringGrid: TStringGrid
    Left = 48
    Top = 32
    Width = 628
    Height = 252
    ColCount = 24
    DefaultColWidth = 25
    DefaultRowHeight = 30
    FixedCols = 0
    FixedRows = 0
    RowCount = 8
    Options = [goVertLine, goHorzLine]
    ScrollBars = ssNone
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 0
    OnMouseMove = StringGridMouseMove
    OnMouseDown = StringGridMouseDown
  end
  object lbHour0: TLabel
    Left = 50
    Top = 14
    Width = 25
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = '0'
  end
  object lbHour3: TLabel
    Left = 128
    Top = 14
    Width = 25
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = '3'
  end
  object lbHour6: TLabel
    Left = 206
    Top = 14
    Width = 25
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = '6'
  end
  object lbHour9: TLabel
    Left = 284
    Top = 14
    Width = 25
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = '9'
  end
  object lbHour12: TLabel
    Left = 362
    Top = 14
    Width = 25
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = '12'
  end
  object lbHour15: TLabel
    Left = 440
    Top = 14
    Width = 25
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = '15'
  end
  object lbHour18: TLabel
    Left = 518
    Top = 14
    Width = 25
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = '18'
  end
  object lbHour21: TLabel
    Left = 596
    Top = 14
    Width = 25
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = '21'
  end
  object lbMon: TLabel
    Left = 12
    Top = 42
    Width = 32
    Height = 13
    AutoSize = False
    Caption = 'Mon'
  end
  object btnMon: TButton
    Left = 682
    Top = 36
    Width = 28
    Height = 25
    Caption = #9664
    TabOrder = 1
    OnClick = RowButtonClick
  end
  object lbTue: TLabel
    Left = 12
    Top = 73
    Width = 32
    Height = 13
    AutoSize = False
    Caption = 'Tue'
  end
  object btnTue: TButton
    Left = 682
    Top = 67
    Width = 28
    Height = 25
    Caption = #9664
    TabOrder = 2
    OnClick = RowButtonClick
  end
  object lbWed: TLabel
    Left = 12
    Top = 104
    Width = 32
    Height = 13
    AutoSize = False
    Caption = 'Wed'
  end
  object btnWed: TButton
    Left = 682
    Top = 98
    Width = 28
    Height = 25
    Caption = #9664
    TabOrder = 3
    OnClick = RowButtonClick
  end
  object lbThu: TLabel
    Left = 12
    Top = 135
    Width = 32
    Height = 13
    AutoSize = False
    Caption = 'Thu'
  end
  object btnThu: TButton
    Left = 682
    Top = 129
    Width = 28
    Height = 25
    Caption = #9664
    TabOrder = 4
    OnClick = RowButtonClick
  end
  object lbFri: TLabel
    Left = 12
    Top = 166
    Width = 32
    Height = 13
    AutoSize = False
    Caption = 'Fri'
  end
  object btnFri: TButton
    Left = 682
    Top = 160
    Width = 28
    Height = 25
    Caption = #9664
    TabOrder = 5
    OnClick = RowButtonClick
  end
  object lbSat: TLabel
    Left = 12
    Top = 197
    Width = 32
    Height = 13
    AutoSize = False
    Caption = 'Sat'
  end
  object btnSat: TButton
    Left = 682
    Top = 191
    Width = 28
    Height = 25
    Caption = #9664
    TabOrder = 6
    OnClick = RowButtonClick
  end
  object lbSun: TLabel
    Left = 12
    Top = 228
    Width = 32
    Height = 13
    AutoSize = False
    Caption = 'Sun'
  end
  object BbtSun: TButton
    Left = 682
    Top = 222
    Width = 28
    Height = 25
    Caption = #9664
    TabOrder = 7
    OnClick = RowButtonClick
  end
  object lbHol: TLabel
    Left = 12
    Top = 259
    Width = 32
    Height = 13
    AutoSize = False
    Caption = 'Hol'
  end
  object btnHol: TButton
    Left = 682
    Top = 253
    Width = 28
    Height = 25
    Caption = #9664
    TabOrder = 8
    OnClick = RowButtonClick
  end
  object Button0: TButton
    Left = 50
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 9
    OnClick = HourButtonClick
  end
  object Button1: TButton
    Left = 76
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 10
    OnClick = HourButtonClick
  end
  object Button2: TButton
    Left = 102
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 11
    OnClick = HourButtonClick
  end
  object Button3: TButton
    Left = 128
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 12
    OnClick = HourButtonClick
  end
  object Button4: TButton
    Left = 154
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 13
    OnClick = HourButtonClick
  end
  object Button5: TButton
    Left = 180
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 14
    OnClick = HourButtonClick
  end
  object Button6: TButton
    Left = 206
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 15
    OnClick = HourButtonClick
  end
  object Button7: TButton
    Left = 232
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 16
    OnClick = HourButtonClick
  end
  object Button8: TButton
    Left = 258
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 17
    OnClick = HourButtonClick
  end
  object Button9: TButton
    Left = 284
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 18
    OnClick = HourButtonClick
  end
  object Button10: TButton
    Left = 310
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 19
    OnClick = HourButtonClick
  end
  object Button11: TButton
    Left = 336
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 20
    OnClick = HourButtonClick
  end
  object Button12: TButton
    Left = 362
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 21
    OnClick = HourButtonClick
  end
  object Button13: TButton
    Left = 388
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 22
    OnClick = HourButtonClick
  end
  object Button14: TButton
    Left = 414
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 23
    OnClick = HourButtonClick
  end
  object Button15: TButton
    Left = 440
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 24
    OnClick = HourButtonClick
  end
  object Button16: TButton
    Left = 466
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 25
    OnClick = HourButtonClick
  end
  object Button17: TButton
    Left = 492
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 26
    OnClick = HourButtonClick
  end
  object Button18: TButton
    Left = 518
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 27
    OnClick = HourButtonClick
  end
  object Button19: TButton
    Left = 544
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 28
    OnClick = HourButtonClick
  end
  object Button20: TButton
    Left = 570
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 29
    OnClick = HourButtonClick
  end
  object Button21: TButton
    Left = 596
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 30
    OnClick = HourButtonClick
  end
  object Button22: TButton
    Left = 622
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 31
    OnClick = HourButtonClick
  end
  object Button23: TButton
    Left = 648
    Top = 288
    Width = 25
    Height = 20
    Caption = #9650
    TabOrder = 32
    OnClick = HourButtonClick
  end
  object btnPrev: TButton
    Left = 629
    Top = 320
    Width = 81
    Height = 25
    Caption = 'Prev'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 33
    OnClick = btnPrevClick
  end
end
