object FrmSerDevice: TFrmSerDevice
  Left = 420
  Top = 300
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'SEARCH'
  ClientHeight = 193
  ClientWidth = 201
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  OnShow = FormShow
  object btnHDD: TButton
    Left = 16
    Top = 16
    Width = 169
    Height = 33
    Caption = 'HDD'
    TabOrder = 0
    OnClick = btnHDDClick
  end
  object btnCF: TButton
    Left = 16
    Top = 56
    Width = 169
    Height = 33
    Caption = 'CF'
    TabOrder = 1
    OnClick = btnCFClick
  end
  object btnSD: TButton
    Left = 16
    Top = 96
    Width = 169
    Height = 33
    Caption = 'SD'
    TabOrder = 2
    OnClick = btnSDClick
  end
  object btnCancel: TButton
    Left = 16
    Top = 144
    Width = 169
    Height = 33
    Caption = 'CLOSE'
    TabOrder = 3
    OnClick = btnCancelClick
  end
end
