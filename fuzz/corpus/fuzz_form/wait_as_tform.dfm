object FrmWait: TForm
  Left = 420
  Top = 320
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'Wait'
  ClientHeight = 121
  ClientWidth = 344
  Color = $00332E2A
  Enabled = False
  Font.Charset = DEFAULT_CHARSET
  Font.Color = $00D8D2CD
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  object ImgBackground: TImgFrame
    Left = 0
    Top = 0
    Picture.FileName = 'skins/wait_bg.bmp'
    TotalFrames = 1
  end
  object ImgAni1: TImgAnimation
    Left = 27
    Top = 80
    Picture.FileName = 'skins/ani_wait.bmp'
    TotalFrames = 8
    Direction = HORIZONTAL
    Interval = 250
    Repeated = True
  end
  object ImgAni2: TImgAnimation
    Left = 29
    Top = 129
    Picture.FileName = 'skins/wait_ani_small.bmp'
    TotalFrames = 8
    Direction = HORIZONTAL
    Interval = 250
    Repeated = True
  end
end
