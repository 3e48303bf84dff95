object frmSearch: TfrmSearch
  OnClose = FormClose
  OnShow = FormShow
  Left = 420
  Top = 300
  BorderIcons = []
  BorderStyle = bsSingle
  AlphaBlend = True
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
  object btnAll: TButton
    Left = 16
    Top = 16
    Width = 169
    Height = 33
    Caption = 'ALL'
    TabOrder = 0
    OnClick = btnAllClick
  end
  object btnEvent: TButton
    Left = 16
    Top = 56
    Width = 169
    Height = 33
    Caption = 'EVENT'
    TabOrder = 1
    OnClick = btnEventClick
  end
  object btnChannel: TButton
    Left = 16
    Top = 96
    Width = 169
    Height = 33
    Caption = 'CH SEARCH'
    TabOrder = 2
    OnClick = btnChannelClick
  end
  object btnCancel: TButton
    Left = 16
    Top = 144
    Width = 169
    Height = 33
    Caption = 'Prev'
    TabOrder = 3
    OnClick = btnCancelClick
  end
end
