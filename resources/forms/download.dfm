object frmDownload: TfrmDownload
  Left = 360
  Top = 300
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'DOWNLOAD'
  ClientHeight = 191
  ClientWidth = 535
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  OnShow = FormShow
  object ImgBackground: TImgFrame
    Left = 0
    Top = 0
    Width = 535
    Height = 191
    Picture.FileName = 'skins/download_bg.bmp'
    TotalFrames = 1
    OnMouseDown = ImgBackgroundMouseDown
  end
  object ImgFrame2: TImgFrame
    Left = 40
    Top = 46
    Width = 32
    Height = 32
    Picture.FileName = 'skins/download_icon.bmp'
    TotalFrames = 1
  end
  object ProgressTransfer: TBmGauge
    Left = 40
    Top = 100
    Width = 455
    Height = 49
    Bitmap.FileName = 'skins/download_gauge.bmp'
    Direction = _Horizontal
  end
  object BtnClose: TBmButton
    Left = 513
    Top = 4
    Width = 18
    Height = 18
    Bitmap.FileName = 'skins/btn_close.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    RepeatInterval = 100
    Cursor = crHandPoint
    OnClick = BtnCloseClick
  end
end
