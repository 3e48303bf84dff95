object FrmLog: TFrmLog
  Left = 400
  Top = 260
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'Connect'
  ClientHeight = 312
  ClientWidth = 360
  Color = $00332E2A
  Font.Charset = DEFAULT_CHARSET
  Font.Color = $00D8D2CD
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  OnClose = FormClose
  OnShow = FormShow
  object ImgBackground: TImgFrame
    Left = 0
    Top = 0
    Picture.FileName = 'skins/log_bg.bmp'
    TotalFrames = 1
    OnMouseDown = ImgBackgroundMouseDown
  end
  object BtnClose: TBmButton
    Left = 336
    Top = 4
    Bitmap.FileName = 'skins/btn_close.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnCloseClick
  end
  object LabelIP: TLabel
    Left = 28
    Top = 45
    Width = 96
    Height = 14
    AutoSize = False
    Caption = 'ADDRESS'
    Transparent = True
  end
  object ebIP: TEdit
    Left = 128
    Top = 42
    Width = 160
    Height = 21
    Color = $00332E2A
    Font.Charset = DEFAULT_CHARSET
    Font.Color = $00D8D2CD
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 0
    OnKeyUp = ebIPKeyUp
  end
  object LabelPort: TLabel
    Left = 28
    Top = 71
    Width = 96
    Height = 14
    AutoSize = False
    Caption = 'PORT'
    Transparent = True
  end
  object ebPort: TEdit
    Left = 128
    Top = 68
    Width = 64
    Height = 21
    Color = $00332E2A
    Font.Charset = DEFAULT_CHARSET
    Font.Color = $00D8D2CD
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 1
    Text = '5000'
    OnKeyUp = ebPortKeyUp
  end
  object LabelPassword: TLabel
    Left = 28
    Top = 97
    Width = 96
    Height = 14
    AutoSize = False
    Caption = 'PASSWORD'
    Transparent = True
  end
  object mePassword: TMaskEdit
    Left = 128
    Top = 94
    Width = 160
    Height = 21
    Color = $00332E2A
    Font.Charset = DEFAULT_CHARSET
    Font.Color = $00D8D2CD
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    PasswordChar = '*'
    TabOrder = 2
    MaxLength = 10
    OnKeyUp = mePasswordKeyUp
  end
  object rbtAdmin: TRadioButton
    Left = 128
    Top = 121
    Width = 124
    Height = 17
    Caption = 'ADMINISTRATOR'
    TabOrder = 3
    OnClick = rbtAdminClick
  end
  object rbtUser: TRadioButton
    Left = 262
    Top = 121
    Width = 80
    Height = 17
    Caption = 'USER'
    Checked = True
    TabOrder = 4
    TabStop = True
    OnClick = rbtUserClick
  end
  object ImgListBackground: TImgFrame
    Left = 16
    Top = 150
    Picture.FileName = 'skins/log_list_bg.bmp'
    TotalFrames = 1
  end
  object lbIPAddress: TListBox
    Left = 19
    Top = 153
    Width = 238
    Height = 102
    BorderStyle = bsNone
    Color = $001F1B18
    ItemHeight = 13
    TabOrder = 5
    OnClick = lbIPAddressClick
  end
  object BtnAdd: TBmButton
    Left = 266
    Top = 150
    Bitmap.FileName = 'skins/btn_add.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnAddClick
  end
  object BtnRemove: TBmButton
    Left = 266
    Top = 180
    Bitmap.FileName = 'skins/btn_remove.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnRemoveClick
  end
  object Button1: TButton
    Left = 266
    Top = 210
    Width = 80
    Height = 21
    Caption = 'SAVE'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 6
    OnClick = Button1Click
  end
  object Button2: TButton
    Left = 266
    Top = 234
    Width = 80
    Height = 21
    Caption = 'LOAD'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TabOrder = 7
    OnClick = Button2Click
  end
  object BtnOk: TBmButton
    Left = 192
    Top = 274
    Bitmap.FileName = 'skins/btn_ok.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnOkClick
  end
  object BtnCancel: TBmButton
    Left = 272
    Top = 274
    Bitmap.FileName = 'skins/btn_cancel.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnCancelClick
  end
end
