object FrmUpdateStatus: TFrmUpdateStatus
  Left = 360
  Top = 300
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'Upgrade'
  ClientHeight = 230
  ClientWidth = 535
  Color = $00332E2A
  Font.Charset = DEFAULT_CHARSET
  Font.Color = $00D8D2CD
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  OnShow = FormShow
  object ImgBackground: TImgFrame
    Left = 0
    Top = 0
    Picture.FileName = 'skins/update_bg.bmp'
    TotalFrames = 1
    OnMouseDown = ImgBackgroundMouseDown
  end
  object ImgFrame1: TImgFrame
    Left = 40
    Top = 75
    Picture.FileName = 'skins/update_icon_transfer.bmp'
    TotalFrames = 1
  end
  object ImgFrame2: TImgFrame
    Left = 40
    Top = 161
    Picture.FileName = 'skins/update_icon_install.bmp'
    TotalFrames = 1
  end
  object ProgressTransfer: TBmGauge
    Left = 84
    Top = 67
    Bitmap.FileName = 'skins/update_gauge.bmp'
    CurrentLevel = 0
    MaximumLevel = 200
    Direction = _Horizontal
  end
  object ProgressUpdate: TBmGauge
    Left = 84
    Top = 153
    Bitmap.FileName = 'skins/update_gauge.bmp'
    CurrentLevel = 0
    MaximumLevel = 100
    Direction = _Horizontal
  end
  object BtnClose: TBmButton
    Left = 513
    Top = 4
    Bitmap.FileName = 'skins/btn_close.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnCloseClick
  end
end
