object FrmHtmlMap: TFrmHtmlMap
  Left = 460
  Top = 220
  BorderIcons = [biSystemMenu]
  BorderStyle = bsSingle
  Caption = 'Map'
  ClientHeight = 315
  ClientWidth = 336
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object CppWebBrowser: TCppWebBrowser
    Left = 0
    Top = 0
    Width = 336
    Height = 315
    TabOrder = 0
    OnDocumentComplete = CppWebBrowserDocumentComplete
  end
  object ImageMap32: TImage32
    Left = 0
    Top = 0
    Width = 336
    Height = 315
    Bitmap.ResamplerClassName = 'TNearestResampler'
    Bitmap.FileName = 'skins/map_still.bmp'
    BitmapAlign = baTopLeft
    Scale = 1.000000000000000000
    ScaleMode = smNormal
    TabOrder = 1
  end
end
