object frmLocalSearch: TfrmLocalSearch
  Left = 420
  Top = 300
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'LOCAL SEARCH'
  ClientHeight = 153
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
  object btnFile: TButton
    Left = 16
    Top = 16
    Width = 169
    Height = 33
    Caption = 'FILE'
    TabOrder = 0
    OnClick = btnFileClick
  end
  object btnCalendar: TButton
    Left = 16
    Top = 56
    Width = 169
    Height = 33
    Caption = 'CALENDAR'
    TabOrder = 1
    OnClick = btnCalendarClick
  end
  object btnCancel: TButton
    Left = 16
    Top = 104
    Width = 169
    Height = 33
    Caption = 'CANCEL'
    TabOrder = 2
    OnClick = btnCancelClick
  end
end
