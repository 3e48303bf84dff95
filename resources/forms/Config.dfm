object frmConfig: TfrmConfig
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'CONFIG'
  ClientHeight = 208
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
  OnShow = FormShow
  object ImgBackground: TImgFrame
    Left = 0
    Top = 0
    Width = 320
    Height = 208
    Picture.FileName = 'skins/setup_config_bg.bmp'
  end
  object BtnClose: TBmButton
    Left = 298
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
  object ebIPAD: jIPEdit
    Left = 100
    Top = 42
    Width = 130
    Height = 21
    Color = 2038552
    Font.Charset = DEFAULT_CHARSET
    Font.Color = 14209741
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    Text = '0.0.0.0'
    TabOrder = 1
  end
  object Button1: TBmButton
    Left = 238
    Top = 40
    Width = 72
    Height = 24
    Bitmap.FileName = 'skins/setup_btn_convert.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    RepeatInterval = 100
    Cursor = crHandPoint
    TabOrder = 2
    OnClick = Button1Click
  end
  object Edit1: TEdit
    Left = 100
    Top = 74
    Width = 130
    Height = 21
    Text = ''
    Color = 2038552
    Font.Charset = DEFAULT_CHARSET
    Font.Color = 14209741
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 3
  end
  object ebPort: TEdit
    Left = 100
    Top = 106
    Width = 64
    Height = 21
    Text = '5001'
    Color = 2038552
    Font.Charset = DEFAULT_CHARSET
    Font.Color = 14209741
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 4
  end
  object Edit2: TEdit
    Left = 100
    Top = 138
    Width = 130
    Height = 21
    Text = ''
    Color = 2038552
    Font.Charset = DEFAULT_CHARSET
    Font.Color = 14209741
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 5
  end
  object BtnCancel: TBmButton
    Left = 238
    Top = 176
    Width = 72
    Height = 24
    Bitmap.FileName = 'skins/btn_cancel.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    RepeatInterval = 100
    Cursor = crHandPoint
    TabOrder = 6
    OnClick = BtnCancelClick
  end
end
