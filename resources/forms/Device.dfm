object frmDevice: TfrmDevice
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'DEVICE'
  ClientHeight = 200
  ClientWidth = 397
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'MS Sans Serif'
  Font.Style = [fsBold]
  Position = poMainFormCenter
  PixelsPerInch = 96
  TextHeight = 13
  OnShow = FormShow
  object btnCamera: TButton
    Left = 48
    Top = 24
    Width = 301
    Height = 48
    Caption = 'CAMERA'
    TabOrder = 0
    OnClick = btnCameraClick
  end
  object btnAlarm: TButton
    Left = 48
    Top = 88
    Width = 301
    Height = 48
    Caption = 'ALARM'
    TabOrder = 1
    OnClick = btnAlarmClick
  end
  object btnPrev: TButton
    Left = 179
    Top = 159
    Width = 81
    Height = 25
    Caption = 'Prev'
    TabOrder = 2
    OnClick = btnPrevClick
  end
  object btnCancel: TButton
    Left = 268
    Top = 159
    Width = 81
    Height = 25
    Caption = 'CANCEL'
    TabOrder = 3
    OnClick = btnCancelClick
  end
end
