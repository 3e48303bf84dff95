object frmCreateFolder: TfrmCreateFolder
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'CREATE FOLDER'
  ClientHeight = 109
  ClientWidth = 300
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
  object Label1: TLabel
    Left = 16
    Top = 16
    Width = 268
    Height = 13
    AutoSize = False
    Caption = 'FOLDER NAME'
  end
  object edtFolder: TEdit
    Left = 16
    Top = 34
    Width = 268
    Height = 21
    Text = ''
    TabOrder = 0
    OnKeyPress = edtFolderKeyPress
    OnKeyUp = edtFolderKeyUp
  end
  object btnOk: TButton
    Left = 114
    Top = 68
    Width = 81
    Height = 25
    Caption = 'OK'
    TabOrder = 1
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 203
    Top = 68
    Width = 81
    Height = 25
    Caption = 'CANCEL'
    TabOrder = 2
    OnClick = btnCancelClick
  end
end
