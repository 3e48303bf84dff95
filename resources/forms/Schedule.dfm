object frmSchedule: TfrmSchedule
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'SCHEDULE'
  ClientHeight = 157
  ClientWidth = 296
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
  object GroupBox1: TGroupBox
    Left = 12
    Top = 8
    Width = 272
    Height = 52
    Caption = 'SCHEDULED RECORDING'
    TabOrder = 0
    object rbtOn: TRadioButton
      Left = 24
      Top = 24
      Width = 96
      Height = 17
      Caption = 'ON'
      TabOrder = 0
      OnClick = rbtOnClick
    end
    object rbtOff: TRadioButton
      Left = 144
      Top = 24
      Width = 96
      Height = 17
      Caption = 'OFF'
      Checked = True
      TabOrder = 1
      TabStop = True
      OnClick = rbtOffClick
    end
  end
  object btnTime_Table: TButton
    Left = 12
    Top = 72
    Width = 132
    Height = 32
    Caption = 'TIME TABLE'
    TabOrder = 1
    OnClick = btnTime_TableClick
  end
  object btnHoliday: TButton
    Left = 152
    Top = 72
    Width = 132
    Height = 32
    Caption = 'HOLIDAY'
    TabOrder = 2
    OnClick = btnHolidayClick
  end
  object btnPrev: TButton
    Left = 203
    Top = 120
    Width = 81
    Height = 25
    Caption = 'Prev'
    TabOrder = 3
    OnClick = btnPrevClick
  end
  object ListBox1: TListBox
    Left = 12
    Top = 180
    Width = 272
    Height = 40
    ItemHeight = 13
    TabOrder = 4
  end
end
