object frmUpload: TfrmUpload
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Upload Config'
  ClientHeight = 554
  ClientWidth = 417
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
  OnClose = FormClose
  object Label1: TLabel
    Left = 12
    Top = 12
    Width = 164
    Height = 13
    AutoSize = False
    Caption = 'Available IP'
  end
  object lbIPAddress: TListBox
    Left = 12
    Top = 30
    Width = 164
    Height = 200
    ItemHeight = 13
    TabOrder = 0
  end
  object btnRight: TButton
    Left = 188
    Top = 70
    Width = 41
    Height = 25
    Caption = '>'
    TabOrder = 1
    OnClick = btnRightClick
  end
  object btnRightAll: TButton
    Left = 188
    Top = 101
    Width = 41
    Height = 25
    Caption = '>>'
    TabOrder = 2
    OnClick = btnRightAllClick
  end
  object btnLeft: TButton
    Left = 188
    Top = 140
    Width = 41
    Height = 25
    Caption = '<'
    TabOrder = 3
    OnClick = btnLeftClick
  end
  object btnLeftAll: TButton
    Left = 188
    Top = 171
    Width = 41
    Height = 25
    Caption = '<<'
    TabOrder = 4
    OnClick = btnLeftAllClick
  end
  object Label2: TLabel
    Left = 241
    Top = 12
    Width = 164
    Height = 13
    AutoSize = False
    Caption = 'Destination IP :'
  end
  object lbDestAddress: TListBox
    Left = 241
    Top = 30
    Width = 164
    Height = 200
    ItemHeight = 13
    TabOrder = 5
  end
  object Label3: TLabel
    Left = 12
    Top = 244
    Width = 304
    Height = 13
    AutoSize = False
    Caption = 'Source Directory :'
  end
  object edtPath: TEdit
    Left = 12
    Top = 262
    Width = 304
    Height = 21
    Text = ''
    TabOrder = 6
  end
  object btnBrowse: TButton
    Left = 324
    Top = 260
    Width = 81
    Height = 25
    Caption = 'Browse..'
    TabOrder = 7
    OnClick = btnBrowseClick
  end
  object btnOk: TButton
    Left = 235
    Top = 296
    Width = 81
    Height = 25
    Caption = 'SEND'
    TabOrder = 8
    OnClick = btnOkClick
  end
  object BtnCancel: TButton
    Left = 324
    Top = 296
    Width = 81
    Height = 25
    Caption = 'CLOSE'
    TabOrder = 9
    OnClick = BtnCancelClick
  end
  object ListBox1: TListBox
    Left = 12
    Top = 333
    Width = 393
    Height = 209
    ItemHeight = 13
    TabOrder = 10
  end
end
