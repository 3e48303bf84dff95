object frmMinTable: TfrmMinTable
  OnMouseDown = FormMouseDown
  OnShow = FormShow
  Left = 300
  Top = 240
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'MINUTE TABLE'
  ClientHeight = 201
  ClientWidth = 633
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
    Left = 472
    Top = 32
    Caption = ''
  end
  object ifmMin: TImgFrame
    Left = 114
    Top = 59
    Width = 510
    Height = 57
    Picture.FileName = 'skins/min_head.bmp'
    TotalFrames = 1
    OnMouseDown = ifmMinMouseDown
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
    Left = 128
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_2: TImgFrame
    Left = 136
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_3: TImgFrame
    Left = 144
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_4: TImgFrame
    Left = 152
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_5: TImgFrame
    Left = 160
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_6: TImgFrame
    Left = 168
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_7: TImgFrame
    Left = 176
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_8: TImgFrame
    Left = 184
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_9: TImgFrame
    Left = 192
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_10: TImgFrame
    Left = 200
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_11: TImgFrame
    Left = 208
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_12: TImgFrame
    Left = 216
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_13: TImgFrame
    Left = 224
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_14: TImgFrame
    Left = 232
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_15: TImgFrame
    Left = 240
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_16: TImgFrame
    Left = 248
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_17: TImgFrame
    Left = 256
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_18: TImgFrame
    Left = 264
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_19: TImgFrame
    Left = 272
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_20: TImgFrame
    Left = 280
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_21: TImgFrame
    Left = 288
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_22: TImgFrame
    Left = 296
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_23: TImgFrame
    Left = 304
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_24: TImgFrame
    Left = 312
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_25: TImgFrame
    Left = 320
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_26: TImgFrame
    Left = 328
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_27: TImgFrame
    Left = 336
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_28: TImgFrame
    Left = 344
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_29: TImgFrame
    Left = 352
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_30: TImgFrame
    Left = 360
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_31: TImgFrame
    Left = 368
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_32: TImgFrame
    Left = 376
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_33: TImgFrame
    Left = 384
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_34: TImgFrame
    Left = 392
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_35: TImgFrame
    Left = 400
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_36: TImgFrame
    Left = 408
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_37: TImgFrame
    Left = 416
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_38: TImgFrame
    Left = 424
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_39: TImgFrame
    Left = 432
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_40: TImgFrame
    Left = 440
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_41: TImgFrame
    Left = 448
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_42: TImgFrame
    Left = 456
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_43: TImgFrame
    Left = 464
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_44: TImgFrame
    Left = 472
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_45: TImgFrame
    Left = 480
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_46: TImgFrame
    Left = 488
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_47: TImgFrame
    Left = 496
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_48: TImgFrame
    Left = 504
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_49: TImgFrame
    Left = 512
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_50: TImgFrame
    Left = 520
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_51: TImgFrame
    Left = 528
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_52: TImgFrame
    Left = 536
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_53: TImgFrame
    Left = 544
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_54: TImgFrame
    Left = 552
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_55: TImgFrame
    Left = 560
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_56: TImgFrame
    Left = 568
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_57: TImgFrame
    Left = 576
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_58: TImgFrame
    Left = 584
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_59: TImgFrame
    Left = 592
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm1_60: TImgFrame
    Left = 600
    Top = 123
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_1: TImgFrame
    Left = 128
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_2: TImgFrame
    Left = 136
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_3: TImgFrame
    Left = 144
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_4: TImgFrame
    Left = 152
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_5: TImgFrame
    Left = 160
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_6: TImgFrame
    Left = 168
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_7: TImgFrame
    Left = 176
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_8: TImgFrame
    Left = 184
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_9: TImgFrame
    Left = 192
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_10: TImgFrame
    Left = 200
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_11: TImgFrame
    Left = 208
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_12: TImgFrame
    Left = 216
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_13: TImgFrame
    Left = 224
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_14: TImgFrame
    Left = 232
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_15: TImgFrame
    Left = 240
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_16: TImgFrame
    Left = 248
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_17: TImgFrame
    Left = 256
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_18: TImgFrame
    Left = 264
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_19: TImgFrame
    Left = 272
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_20: TImgFrame
    Left = 280
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_21: TImgFrame
    Left = 288
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_22: TImgFrame
    Left = 296
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_23: TImgFrame
    Left = 304
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_24: TImgFrame
    Left = 312
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_25: TImgFrame
    Left = 320
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_26: TImgFrame
    Left = 328
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_27: TImgFrame
    Left = 336
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_28: TImgFrame
    Left = 344
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_29: TImgFrame
    Left = 352
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_30: TImgFrame
    Left = 360
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_31: TImgFrame
    Left = 368
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_32: TImgFrame
    Left = 376
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_33: TImgFrame
    Left = 384
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_34: TImgFrame
    Left = 392
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_35: TImgFrame
    Left = 400
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_36: TImgFrame
    Left = 408
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_37: TImgFrame
    Left = 416
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_38: TImgFrame
    Left = 424
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_39: TImgFrame
    Left = 432
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_40: TImgFrame
    Left = 440
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_41: TImgFrame
    Left = 448
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_42: TImgFrame
    Left = 456
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_43: TImgFrame
    Left = 464
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_44: TImgFrame
    Left = 472
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_45: TImgFrame
    Left = 480
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_46: TImgFrame
    Left = 488
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_47: TImgFrame
    Left = 496
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_48: TImgFrame
    Left = 504
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_49: TImgFrame
    Left = 512
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_50: TImgFrame
    Left = 520
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_51: TImgFrame
    Left = 528
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_52: TImgFrame
    Left = 536
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_53: TImgFrame
    Left = 544
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_54: TImgFrame
    Left = 552
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_55: TImgFrame
    Left = 560
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_56: TImgFrame
    Left = 568
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_57: TImgFrame
    Left = 576
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_58: TImgFrame
    Left = 584
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_59: TImgFrame
    Left = 592
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm2_60: TImgFrame
    Left = 600
    Top = 163
    Width = 8
    Height = 20
    Visible = False
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_1: TImgFrame
    Left = 128
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_2: TImgFrame
    Left = 136
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_3: TImgFrame
    Left = 144
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_4: TImgFrame
    Left = 152
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_5: TImgFrame
    Left = 160
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_6: TImgFrame
    Left = 168
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_7: TImgFrame
    Left = 176
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_8: TImgFrame
    Left = 184
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_9: TImgFrame
    Left = 192
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_10: TImgFrame
    Left = 200
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_11: TImgFrame
    Left = 208
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_12: TImgFrame
    Left = 216
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_13: TImgFrame
    Left = 224
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_14: TImgFrame
    Left = 232
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_15: TImgFrame
    Left = 240
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_16: TImgFrame
    Left = 248
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_17: TImgFrame
    Left = 256
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_18: TImgFrame
    Left = 264
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_19: TImgFrame
    Left = 272
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_20: TImgFrame
    Left = 280
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_21: TImgFrame
    Left = 288
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_22: TImgFrame
    Left = 296
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_23: TImgFrame
    Left = 304
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_24: TImgFrame
    Left = 312
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_25: TImgFrame
    Left = 320
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_26: TImgFrame
    Left = 328
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_27: TImgFrame
    Left = 336
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_28: TImgFrame
    Left = 344
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_29: TImgFrame
    Left = 352
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_30: TImgFrame
    Left = 360
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_31: TImgFrame
    Left = 368
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_32: TImgFrame
    Left = 376
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_33: TImgFrame
    Left = 384
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_34: TImgFrame
    Left = 392
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_35: TImgFrame
    Left = 400
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_36: TImgFrame
    Left = 408
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_37: TImgFrame
    Left = 416
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_38: TImgFrame
    Left = 424
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_39: TImgFrame
    Left = 432
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_40: TImgFrame
    Left = 440
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_41: TImgFrame
    Left = 448
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_42: TImgFrame
    Left = 456
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_43: TImgFrame
    Left = 464
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_44: TImgFrame
    Left = 472
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_45: TImgFrame
    Left = 480
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_46: TImgFrame
    Left = 488
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_47: TImgFrame
    Left = 496
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_48: TImgFrame
    Left = 504
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_49: TImgFrame
    Left = 512
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_50: TImgFrame
    Left = 520
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_51: TImgFrame
    Left = 528
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_52: TImgFrame
    Left = 536
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_53: TImgFrame
    Left = 544
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_54: TImgFrame
    Left = 552
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_55: TImgFrame
    Left = 560
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_56: TImgFrame
    Left = 568
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_57: TImgFrame
    Left = 576
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_58: TImgFrame
    Left = 584
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_59: TImgFrame
    Left = 592
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm3_60: TImgFrame
    Left = 600
    Top = 203
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_1: TImgFrame
    Left = 128
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_2: TImgFrame
    Left = 136
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_3: TImgFrame
    Left = 144
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_4: TImgFrame
    Left = 152
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_5: TImgFrame
    Left = 160
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_6: TImgFrame
    Left = 168
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_7: TImgFrame
    Left = 176
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_8: TImgFrame
    Left = 184
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_9: TImgFrame
    Left = 192
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_10: TImgFrame
    Left = 200
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_11: TImgFrame
    Left = 208
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_12: TImgFrame
    Left = 216
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_13: TImgFrame
    Left = 224
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_14: TImgFrame
    Left = 232
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_15: TImgFrame
    Left = 240
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_16: TImgFrame
    Left = 248
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_17: TImgFrame
    Left = 256
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_18: TImgFrame
    Left = 264
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_19: TImgFrame
    Left = 272
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_20: TImgFrame
    Left = 280
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_21: TImgFrame
    Left = 288
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_22: TImgFrame
    Left = 296
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_23: TImgFrame
    Left = 304
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_24: TImgFrame
    Left = 312
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_25: TImgFrame
    Left = 320
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_26: TImgFrame
    Left = 328
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_27: TImgFrame
    Left = 336
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_28: TImgFrame
    Left = 344
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_29: TImgFrame
    Left = 352
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_30: TImgFrame
    Left = 360
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_31: TImgFrame
    Left = 368
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_32: TImgFrame
    Left = 376
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_33: TImgFrame
    Left = 384
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_34: TImgFrame
    Left = 392
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_35: TImgFrame
    Left = 400
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_36: TImgFrame
    Left = 408
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_37: TImgFrame
    Left = 416
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_38: TImgFrame
    Left = 424
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_39: TImgFrame
    Left = 432
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_40: TImgFrame
    Left = 440
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_41: TImgFrame
    Left = 448
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_42: TImgFrame
    Left = 456
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_43: TImgFrame
    Left = 464
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_44: TImgFrame
    Left = 472
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_45: TImgFrame
    Left = 480
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_46: TImgFrame
    Left = 488
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_47: TImgFrame
    Left = 496
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_48: TImgFrame
    Left = 504
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_49: TImgFrame
    Left = 512
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_50: TImgFrame
    Left = 520
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_51: TImgFrame
    Left = 528
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_52: TImgFrame
    Left = 536
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_53: TImgFrame
    Left = 544
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_54: TImgFrame
    Left = 552
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_55: TImgFrame
    Left = 560
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_56: TImgFrame
    Left = 568
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_57: TImgFrame
    Left = 576
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_58: TImgFrame
    Left = 584
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_59: TImgFrame
    Left = 592
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object ifm4_60: TImgFrame
    Left = 600
    Top = 243
    Width = 8
    Height = 20
    Picture.FileName = 'skins/min_cell.bmp'
    TotalFrames = 6
    Direction = HORIZONTAL
  end
  object btnBackup2: TButton
    Left = 352
    Top = 160
    Width = 81
    Height = 25
    Caption = 'BACKUP'
    TabOrder = 0
    Visible = False
    OnClick = btnBackup2Click
  end
  object btnOk2: TButton
    Left = 440
    Top = 160
    Width = 81
    Height = 25
    Caption = 'OK'
    TabOrder = 1
    OnClick = btnOk2Click
  end
  object btnBack2: TButton
    Left = 528
    Top = 160
    Width = 81
    Height = 25
    Caption = 'Prev'
    TabOrder = 2
    OnClick = btnBackClick
  end
  object btnBackup: TButton
    Left = 352
    Top = 280
    Width = 81
    Height = 25
    Caption = 'BACKUP'
    TabOrder = 3
    OnClick = btnBackup2Click
  end
  object btnOk: TButton
    Left = 440
    Top = 280
    Width = 81
    Height = 25
    Caption = 'OK'
    TabOrder = 4
    OnClick = btnOk2Click
  end
  object btnBack: TButton
    Left = 528
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
