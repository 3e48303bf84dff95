object frmCalendar: TfrmCalendar
  OnMouseDown = FormMouseDown
  OnShow = FormShow
  Left = 300
  Top = 180
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'CALENDAR'
  ClientHeight = 496
  ClientWidth = 537
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  object PaintBox39: TPaintBox
    Left = 224
    Top = 24
    Width = 105
    Height = 33
    OnPaint = PaintBox39Paint
  end
  object IMFPrevious: TImgFrame
    Left = 168
    Top = 19
    Width = 32
    Height = 32
    Picture.FileName = 'skins/cal_prev.bmp'
    TotalFrames = 2
    Direction = HORIZONTAL
    OnClick = IMFPreviousClick
    OnMouseDown = IMFPreviousMouseDown
    OnMouseUp = IMFPreviousMouseUp
  end
  object IMFNext: TImgFrame
    Left = 336
    Top = 19
    Width = 32
    Height = 32
    Picture.FileName = 'skins/cal_next.bmp'
    TotalFrames = 2
    Direction = HORIZONTAL
    OnClick = IMFNextClick
    OnMouseDown = IMFNextMouseDown
    OnMouseUp = IMFNextMouseUp
  end
  object Label1: TLabel
    Left = 32
    Top = 80
    Width = 41
    Height = 16
    Alignment = taCenter
    AutoSize = False
    Caption = 'Sun'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clRed
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Label2: TLabel
    Left = 104
    Top = 80
    Width = 41
    Height = 16
    Alignment = taCenter
    AutoSize = False
    Caption = 'Mon'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Label3: TLabel
    Left = 176
    Top = 80
    Width = 41
    Height = 16
    Alignment = taCenter
    AutoSize = False
    Caption = 'Tue'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Label4: TLabel
    Left = 248
    Top = 80
    Width = 41
    Height = 16
    Alignment = taCenter
    AutoSize = False
    Caption = 'Wed'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Label5: TLabel
    Left = 320
    Top = 80
    Width = 41
    Height = 16
    Alignment = taCenter
    AutoSize = False
    Caption = 'Thu'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Label6: TLabel
    Left = 392
    Top = 80
    Width = 41
    Height = 16
    Alignment = taCenter
    AutoSize = False
    Caption = 'Fri'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Label7: TLabel
    Left = 464
    Top = 80
    Width = 41
    Height = 16
    Alignment = taCenter
    AutoSize = False
    Caption = 'Sat'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlue
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Panel1: TPanel
    Left = 16
    Top = 112
    Width = 505
    Height = 305
    BevelOuter = bvLowered
    TabOrder = 0
    object ImgFrame1: TImgFrame
      Left = 12
      Top = 16
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame2: TImgFrame
      Left = 84
      Top = 16
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame3: TImgFrame
      Left = 156
      Top = 16
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame4: TImgFrame
      Left = 228
      Top = 16
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame5: TImgFrame
      Left = 300
      Top = 16
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame6: TImgFrame
      Left = 372
      Top = 16
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame7: TImgFrame
      Left = 444
      Top = 16
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame8: TImgFrame
      Left = 12
      Top = 64
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame9: TImgFrame
      Left = 84
      Top = 64
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame10: TImgFrame
      Left = 156
      Top = 64
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame11: TImgFrame
      Left = 228
      Top = 64
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame12: TImgFrame
      Left = 300
      Top = 64
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame13: TImgFrame
      Left = 372
      Top = 64
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame14: TImgFrame
      Left = 444
      Top = 64
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame15: TImgFrame
      Left = 12
      Top = 112
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame16: TImgFrame
      Left = 84
      Top = 112
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame17: TImgFrame
      Left = 156
      Top = 112
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame18: TImgFrame
      Left = 228
      Top = 112
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame19: TImgFrame
      Left = 300
      Top = 112
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame20: TImgFrame
      Left = 372
      Top = 112
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame21: TImgFrame
      Left = 444
      Top = 112
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame22: TImgFrame
      Left = 12
      Top = 160
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame23: TImgFrame
      Left = 84
      Top = 160
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame24: TImgFrame
      Left = 156
      Top = 160
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame25: TImgFrame
      Left = 228
      Top = 160
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame26: TImgFrame
      Left = 300
      Top = 160
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame27: TImgFrame
      Left = 372
      Top = 160
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame28: TImgFrame
      Left = 444
      Top = 160
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame29: TImgFrame
      Left = 12
      Top = 208
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame30: TImgFrame
      Left = 84
      Top = 208
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame31: TImgFrame
      Left = 156
      Top = 208
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame32: TImgFrame
      Left = 228
      Top = 208
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame33: TImgFrame
      Left = 300
      Top = 208
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame34: TImgFrame
      Left = 372
      Top = 208
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame35: TImgFrame
      Left = 444
      Top = 208
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame36: TImgFrame
      Left = 12
      Top = 256
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame37: TImgFrame
      Left = 84
      Top = 256
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object ImgFrame38: TImgFrame
      Left = 156
      Top = 256
      Width = 52
      Height = 44
      Visible = False
      Picture.FileName = 'skins/cal_select.bmp'
      TotalFrames = 1
    end
    object PaintBox1: TPaintBox
      Left = 16
      Top = 16
      Width = 41
      Height = 33
    end
    object PaintBox2: TPaintBox
      Left = 88
      Top = 16
      Width = 41
      Height = 33
    end
    object PaintBox3: TPaintBox
      Left = 160
      Top = 16
      Width = 41
      Height = 33
    end
    object PaintBox4: TPaintBox
      Left = 232
      Top = 16
      Width = 41
      Height = 33
    end
    object PaintBox5: TPaintBox
      Left = 304
      Top = 16
      Width = 41
      Height = 33
    end
    object PaintBox6: TPaintBox
      Left = 376
      Top = 16
      Width = 41
      Height = 33
    end
    object PaintBox7: TPaintBox
      Left = 448
      Top = 16
      Width = 41
      Height = 33
    end
    object PaintBox8: TPaintBox
      Left = 16
      Top = 64
      Width = 41
      Height = 33
    end
    object PaintBox9: TPaintBox
      Left = 88
      Top = 64
      Width = 41
      Height = 33
    end
    object PaintBox10: TPaintBox
      Left = 160
      Top = 64
      Width = 41
      Height = 33
    end
    object PaintBox11: TPaintBox
      Left = 232
      Top = 64
      Width = 41
      Height = 33
    end
    object PaintBox12: TPaintBox
      Left = 304
      Top = 64
      Width = 41
      Height = 33
    end
    object PaintBox13: TPaintBox
      Left = 376
      Top = 64
      Width = 41
      Height = 33
    end
    object PaintBox14: TPaintBox
      Left = 448
      Top = 64
      Width = 41
      Height = 33
    end
    object PaintBox15: TPaintBox
      Left = 16
      Top = 112
      Width = 41
      Height = 33
    end
    object PaintBox16: TPaintBox
      Left = 88
      Top = 112
      Width = 41
      Height = 33
    end
    object PaintBox17: TPaintBox
      Left = 160
      Top = 112
      Width = 41
      Height = 33
    end
    object PaintBox18: TPaintBox
      Left = 232
      Top = 112
      Width = 41
      Height = 33
    end
    object PaintBox19: TPaintBox
      Left = 304
      Top = 112
      Width = 41
      Height = 33
    end
    object PaintBox20: TPaintBox
      Left = 376
      Top = 112
      Width = 41
      Height = 33
    end
    object PaintBox21: TPaintBox
      Left = 448
      Top = 112
      Width = 41
      Height = 33
    end
    object PaintBox22: TPaintBox
      Left = 16
      Top = 160
      Width = 41
      Height = 33
    end
    object PaintBox23: TPaintBox
      Left = 88
      Top = 160
      Width = 41
      Height = 33
    end
    object PaintBox24: TPaintBox
      Left = 160
      Top = 160
      Width = 41
      Height = 33
    end
    object PaintBox25: TPaintBox
      Left = 232
      Top = 160
      Width = 41
      Height = 33
    end
    object PaintBox26: TPaintBox
      Left = 304
      Top = 160
      Width = 41
      Height = 33
    end
    object PaintBox27: TPaintBox
      Left = 376
      Top = 160
      Width = 41
      Height = 33
    end
    object PaintBox28: TPaintBox
      Left = 448
      Top = 160
      Width = 41
      Height = 33
    end
    object PaintBox29: TPaintBox
      Left = 16
      Top = 208
      Width = 41
      Height = 33
    end
    object PaintBox30: TPaintBox
      Left = 88
      Top = 208
      Width = 41
      Height = 33
    end
    object PaintBox31: TPaintBox
      Left = 160
      Top = 208
      Width = 41
      Height = 33
    end
    object PaintBox32: TPaintBox
      Left = 232
      Top = 208
      Width = 41
      Height = 33
    end
    object PaintBox33: TPaintBox
      Left = 304
      Top = 208
      Width = 41
      Height = 33
    end
    object PaintBox34: TPaintBox
      Left = 376
      Top = 208
      Width = 41
      Height = 33
    end
    object PaintBox35: TPaintBox
      Left = 448
      Top = 208
      Width = 41
      Height = 33
    end
    object PaintBox36: TPaintBox
      Left = 16
      Top = 256
      Width = 41
      Height = 33
    end
    object PaintBox37: TPaintBox
      Left = 88
      Top = 256
      Width = 41
      Height = 33
    end
    object PaintBox38: TPaintBox
      Left = 160
      Top = 256
      Width = 41
      Height = 33
    end
  end
  object ImgFrame39: TImgFrame
    Left = 560
    Top = 8
    Width = 52
    Height = 44
    Visible = False
    Picture.FileName = 'skins/cal_select.bmp'
    TotalFrames = 1
  end
  object lbSTime: TLabel
    Left = 16
    Top = 422
    Caption = 'START'
    Visible = False
  end
  object lbStartTime: TLabel
    Left = 64
    Top = 422
    Caption = ''
    Visible = False
  end
  object lbETime: TLabel
    Left = 16
    Top = 438
    Caption = 'END'
    Visible = False
  end
  object lbEndTime: TLabel
    Left = 64
    Top = 438
    Caption = ''
    Visible = False
  end
  object btnBackup: TButton
    Left = 256
    Top = 456
    Width = 81
    Height = 25
    Caption = 'BACKUP'
    TabOrder = 1
    OnClick = btnBackupClick
  end
  object btnOk: TButton
    Left = 344
    Top = 456
    Width = 81
    Height = 25
    Caption = 'OK'
    TabOrder = 2
    OnClick = btnOkClick
  end
  object btnLive: TButton
    Left = 432
    Top = 456
    Width = 81
    Height = 25
    Caption = 'Prev'
    TabOrder = 3
    OnClick = btnLiveClick
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
