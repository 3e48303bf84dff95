object frmSysLog: TfrmSysLog
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'Harbek Log'
  ClientHeight = 599
  ClientWidth = 280
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
  object ImgFrame1: TImgFrame
    Left = 0
    Top = 0
    Width = 280
    Height = 599
    Picture.FileName = 'skins/setup_syslog_bg.bmp'
    OnMouseDown = ImgFrame1MouseDown
  end
  object BtnClose: TBmButton
    Left = 258
    Top = 4
    Width = 18
    Height = 18
    Bitmap.FileName = 'skins/btn_close.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    RepeatInterval = 100
    Cursor = crHandPoint
    TabOrder = 0
    OnClick = BtnCloseClick
  end
  object lbLog: TListBox
    Left = 15
    Top = 42
    Width = 250
    Height = 542
    ItemHeight = 13
    Color = 2038552
    Font.Charset = DEFAULT_CHARSET
    Font.Color = 14209741
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    BorderStyle = bsNone
    TabOrder = 1
  end
end
