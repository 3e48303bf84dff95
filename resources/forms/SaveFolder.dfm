object frmSaveFolder: TfrmSaveFolder
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'WRITE SAVE FOLDER'
  ClientHeight = 117
  ClientWidth = 420
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
    Width = 299
    Height = 13
    AutoSize = False
    Caption = 'SAVE FOLDER'
  end
  object edtPath: TEdit
    Left = 16
    Top = 34
    Width = 299
    Height = 21
    ReadOnly = True
    Text = ''
    TabOrder = 0
  end
  object btnBrowse: TButton
    Left = 323
    Top = 32
    Width = 81
    Height = 25
    Caption = 'Browse..'
    TabOrder = 1
    OnClick = btnBrowseClick
  end
  object btnCreateFolder: TButton
    Left = 16
    Top = 76
    Width = 120
    Height = 25
    Caption = 'CREATE FOLDER'
    TabOrder = 2
    OnClick = btnCreateFolderClick
  end
  object btnOk: TButton
    Left = 234
    Top = 76
    Width = 81
    Height = 25
    Caption = 'OK'
    TabOrder = 3
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 323
    Top = 76
    Width = 81
    Height = 25
    Caption = 'CANCEL'
    TabOrder = 4
    OnClick = btnCancelClick
  end
  object ListBox1: TListBox
    Left = 16
    Top = 140
    Width = 388
    Height = 40
    ItemHeight = 13
    TabOrder = 5
  end
end
