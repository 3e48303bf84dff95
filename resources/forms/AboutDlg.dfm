object frmAboutDlg: TfrmAboutDlg
  Left = 420
  Top = 300
  BorderIcons = [biSystemMenu]
  BorderStyle = bsSingle
  Caption = 'About Harbek'
  ClientHeight = 254
  ClientWidth = 401
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object Bevel1: TBevel
    Left = 16
    Top = 16
    Width = 369
    Height = 178
    Shape = bsFrame
  end
  object ImgFrame2: TImgFrame
    Left = 36
    Top = 54
    Picture.FileName = 'skins/about_icon.bmp'
    TotalFrames = 1
  end
  object Label2: TLabel
    Left = 88
    Top = 56
    Width = 280
    Height = 20
    AutoSize = False
    Caption = 'Harbek'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -16
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Label1: TLabel
    Left = 88
    Top = 84
    Width = 280
    Height = 16
    AutoSize = False
    Caption = 'Version'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Label3: TLabel
    Left = 88
    Top = 156
    Width = 280
    Height = 16
    AutoSize = False
    Caption = 'https://harbek.example.org'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clNavy
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Button1: TButton
    Left = 163
    Top = 212
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    Cancel = True
    ModalResult = 1
    TabOrder = 0
    OnClick = Button1Click
  end
end
