object frmNetwork: TfrmNetwork
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'NETWORK'
  ClientHeight = 205
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
  object lb1: TLabel
    Left = 24
    Top = 20
    Width = 120
    Height = 13
    AutoSize = False
    Caption = 'DHCP'
  end
  object lbDhcp: TLabel
    Left = 152
    Top = 20
    Width = 124
    Height = 13
    AutoSize = False
    Caption = 'OFF'
  end
  object lb2: TLabel
    Left = 24
    Top = 46
    Width = 120
    Height = 13
    AutoSize = False
    Caption = 'IP ADDRESS'
  end
  object lbAddr: TLabel
    Left = 152
    Top = 46
    Width = 124
    Height = 13
    AutoSize = False
    Caption = '192.168.0.1'
  end
  object lb3: TLabel
    Left = 24
    Top = 72
    Width = 120
    Height = 13
    AutoSize = False
    Caption = 'SUBNET MASK'
  end
  object lbSub: TLabel
    Left = 152
    Top = 72
    Width = 124
    Height = 13
    AutoSize = False
    Caption = '255.255.255.0'
  end
  object lb4: TLabel
    Left = 24
    Top = 98
    Width = 120
    Height = 13
    AutoSize = False
    Caption = 'GATEWAY'
  end
  object lbGate: TLabel
    Left = 152
    Top = 98
    Width = 124
    Height = 13
    AutoSize = False
    Caption = '192.168.0.254'
  end
  object lb5: TLabel
    Left = 24
    Top = 124
    Width = 120
    Height = 13
    AutoSize = False
    Caption = 'PORT'
  end
  object lbPort: TLabel
    Left = 152
    Top = 124
    Width = 124
    Height = 13
    AutoSize = False
    Caption = '5000'
  end
  object btnOk: TButton
    Left = 114
    Top = 164
    Width = 81
    Height = 25
    Caption = 'OK'
    TabOrder = 0
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 203
    Top = 164
    Width = 81
    Height = 25
    Caption = 'CANCEL'
    TabOrder = 1
    OnClick = btnCancelClick
  end
  object btnMulticast: TButton
    Left = 24
    Top = 220
    Width = 81
    Height = 25
    Caption = 'MULTICAST'
    Enabled = False
    TabOrder = 2
    OnClick = btnMulticastClick
  end
end
