object frmFileList: TfrmFileList
  Left = 40
  Top = 100
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'PLAY LIST'
  ClientHeight = 599
  ClientWidth = 178
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  OnShow = FormShow
  object ImgFrame1: TImgFrame
    Left = 0
    Top = 0
    Width = 178
    Height = 599
    Picture.FileName = 'skins/filelist_bg.bmp'
    TotalFrames = 1
    OnMouseDown = ImgFrame1MouseDown
  end
  object BtnMinimize: TBmButton
    Left = 136
    Top = 4
    Width = 18
    Height = 18
    Bitmap.FileName = 'skins/btn_minimise.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    RepeatInterval = 100
    Cursor = crHandPoint
    OnClick = BtnMinimizeClick
  end
  object BtnClose: TBmButton
    Left = 156
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
  object lbFileList: TListBox
    Left = 15
    Top = 42
    Width = 148
    Height = 515
    BorderStyle = bsNone
    Color = 2038552
    Font.Charset = DEFAULT_CHARSET
    Font.Color = 14209741
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ItemHeight = 13
    ParentFont = False
    Sorted = True
    TabOrder = 0
    OnClick = lbFileListClick
  end
  object ListBox2: TListBox
    Left = 15
    Top = 564
    Width = 148
    Height = 24
    ItemHeight = 13
    TabOrder = 1
    Visible = False
  end
end
