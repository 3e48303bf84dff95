object frmHourTable: TfrmHourTable
  OnMouseDown = FormMouseDown
  OnShow = FormShow
  Left = 300
  Top = 240
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'HOUR TABLE'
  ClientHeight = 201
  ClientWidth = 601
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  object lbSTime: TLabel
    Left = 16
    Top = 16
    Caption = 'START'
    Visible = False
  end
  object lbStartTime: TLabel
    Left = 64
    Top = 16
    Caption = ''
    Visible = False
  end
  object lbETime: TLabel
    Left = 16
    Top = 32
    Caption = 'END'
    Visible = False
  end
  object lbEndTime: TLabel
    Left = 64
    Top = 32
    Caption = ''
    Visible = False
  end
  object lbDateTime: TLabel
    Left = 440
    Top = 32
    Caption = ''
  end
  object ifmHour: TImgFrame
    Left = 114
    Top = 59
    Width = 472
    Height = 59
    Picture.FileName = 'skins/hour_head.bmp'
    TotalFrames = 1
    OnMouseDown = ifmHourMouseDown
  end
  object Label1: TLabel
    Left = 16
    Top = 120
    Width = 96
    Height = 26
    AutoSize = False
    Caption = 'CH 1'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
  end
  object Label2: TLabel
    Left = 16
    Top = 160
    Width = 96
    Height = 26
    AutoSize = False
    Caption = 'CH 2'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Visible = False
  end
  object Label3: TLabel
    Left = 16
    Top = 200
    Width = 96
    Height = 26
    AutoSize = False
    Caption = 'CH 3'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
  end
  object Label4: TLabel
    Left = 16
    Top = 240
    Width = 96
    Height = 26
    AutoSize = False
    Caption = 'CH 4'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
  end
  object ifm1_1: TImgFrame
    Left = 134
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_2: TImgFrame
    Left = 152
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_3: TImgFrame
    Left = 170
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_4: TImgFrame
    Left = 188
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_5: TImgFrame
    Left = 206
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_6: TImgFrame
    Left = 224
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_7: TImgFrame
    Left = 242
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_8: TImgFrame
    Left = 260
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_9: TImgFrame
    Left = 278
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_10: TImgFrame
    Left = 296
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_11: TImgFrame
    Left = 314
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_12: TImgFrame
    Left = 332
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_13: TImgFrame
    Left = 350
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_14: TImgFrame
    Left = 368
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_15: TImgFrame
    Left = 386
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_16: TImgFrame
    Left = 404
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_17: TImgFrame
    Left = 422
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_18: TImgFrame
    Left = 440
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_19: TImgFrame
    Left = 458
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_20: TImgFrame
    Left = 476
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_21: TImgFrame
    Left = 494
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_22: TImgFrame
    Left = 512
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_23: TImgFrame
    Left = 530
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_24: TImgFrame
    Left = 548
    Top = 123
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_1: TImgFrame
    Left = 134
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_2: TImgFrame
    Left = 152
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_3: TImgFrame
    Left = 170
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_4: TImgFrame
    Left = 188
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_5: TImgFrame
    Left = 206
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_6: TImgFrame
    Left = 224
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_7: TImgFrame
    Left = 242
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_8: TImgFrame
    Left = 260
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_9: TImgFrame
    Left = 278
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_10: TImgFrame
    Left = 296
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_11: TImgFrame
    Left = 314
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_12: TImgFrame
    Left = 332
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_13: TImgFrame
    Left = 350
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_14: TImgFrame
    Left = 368
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_15: TImgFrame
    Left = 386
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_16: TImgFrame
    Left = 404
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_17: TImgFrame
    Left = 422
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_18: TImgFrame
    Left = 440
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_19: TImgFrame
    Left = 458
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_20: TImgFrame
    Left = 476
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_21: TImgFrame
    Left = 494
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_22: TImgFrame
    Left = 512
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_23: TImgFrame
    Left = 530
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_24: TImgFrame
    Left = 548
    Top = 163
    Width = 18
    Height = 20
    Visible = False
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_1: TImgFrame
    Left = 134
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_2: TImgFrame
    Left = 152
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_3: TImgFrame
    Left = 170
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_4: TImgFrame
    Left = 188
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_5: TImgFrame
    Left = 206
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_6: TImgFrame
    Left = 224
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_7: TImgFrame
    Left = 242
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_8: TImgFrame
    Left = 260
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_9: TImgFrame
    Left = 278
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_10: TImgFrame
    Left = 296
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_11: TImgFrame
    Left = 314
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_12: TImgFrame
    Left = 332
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_13: TImgFrame
    Left = 350
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_14: TImgFrame
    Left = 368
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_15: TImgFrame
    Left = 386
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_16: TImgFrame
    Left = 404
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_17: TImgFrame
    Left = 422
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_18: TImgFrame
    Left = 440
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_19: TImgFrame
    Left = 458
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_20: TImgFrame
    Left = 476
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_21: TImgFrame
    Left = 494
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_22: TImgFrame
    Left = 512
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_23: TImgFrame
    Left = 530
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_24: TImgFrame
    Left = 548
    Top = 203
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_1: TImgFrame
    Left = 134
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_2: TImgFrame
    Left = 152
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_3: TImgFrame
    Left = 170
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_4: TImgFrame
    Left = 188
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_5: TImgFrame
    Left = 206
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_6: TImgFrame
    Left = 224
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_7: TImgFrame
    Left = 242
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_8: TImgFrame
    Left = 260
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_9: TImgFrame
    Left = 278
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_10: TImgFrame
    Left = 296
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_11: TImgFrame
    Left = 314
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_12: TImgFrame
    Left = 332
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_13: TImgFrame
    Left = 350
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_14: TImgFrame
    Left = 368
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_15: TImgFrame
    Left = 386
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_16: TImgFrame
    Left = 404
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_17: TImgFrame
    Left = 422
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_18: TImgFrame
    Left = 440
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_19: TImgFrame
    Left = 458
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_20: TImgFrame
    Left = 476
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_21: TImgFrame
    Left = 494
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_22: TImgFrame
    Left = 512
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_23: TImgFrame
    Left = 530
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_24: TImgFrame
    Left = 548
    Top = 243
    Width = 18
    Height = 20
    Picture.FileName = 'skins/hour_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object btnBackup2: TButton
    Left = 304
    Top = 160
    Width = 81
    Height = 25
    Caption = 'BACKUP'
    TabOrder = 0
    Visible = False
    OnClick = btnBackup2Click
  end
  object btnOk2: TButton
    Left = 392
    Top = 160
    Width = 81
    Height = 25
    Caption = 'OK'
    TabOrder = 1
    OnClick = btnOk2Click
  end
  object btnBack2: TButton
    Left = 480
    Top = 160
    Width = 81
    Height = 25
    Caption = 'Prev'
    TabOrder = 2
    OnClick = btnBackClick
  end
  object btnBackup: TButton
    Left = 304
    Top = 280
    Width = 81
    Height = 25
    Caption = 'BACKUP'
    TabOrder = 3
    OnClick = btnBackup2Click
  end
  object btnOk: TButton
    Left = 392
    Top = 280
    Width = 81
    Height = 25
    Caption = 'OK'
    TabOrder = 4
    OnClick = btnOk2Click
  end
  object btnBack: TButton
    Left = 480
    Top = 280
    Width = 81
    Height = 25
    Caption = 'Prev'
    TabOrder = 5
    OnClick = btnBackClick
  end
  object PopupMenu1: TPopupMenu
    AutoPopup = False
    Left = 8
    Top = 8
    object SetStartTime: TMenuItem
      Caption = 'Set Start Time'
      OnClick = SetStartTimeClick
    end
    object SetEndTime: TMenuItem
      Caption = 'Set End Time'
      OnClick = SetEndTimeClick
    end
  end
end
