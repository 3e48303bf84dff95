object frmCamera: TfrmCamera
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'DEVICE->CAMERA'
  ClientHeight = 265
  ClientWidth = 400
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
    Width = 184
    Height = 52
    Caption = 'Camera'
    TabOrder = 0
    object cmbCam: TComboBox
      Left = 12
      Top = 20
      Width = 160
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      TabOrder = 0
      OnChange = cmbCamChange
    end
  end
  object GroupBox2: TGroupBox
    Left = 204
    Top = 8
    Width = 184
    Height = 52
    Caption = 'TITLE'
    TabOrder = 1
    object edtTitle: TEdit
      Left = 12
      Top = 20
      Width = 160
      Height = 21
      MaxLength = 9
      Text = ''
      TabOrder = 0
      OnKeyDown = edtTitleKeyDown
      OnKeyPress = edtTitleKeyPress
      OnKeyUp = edtTitleKeyUp
    end
  end
  object GroupBox5: TGroupBox
    Left = 12
    Top = 68
    Width = 376
    Height = 88
    Caption = 'PICTURE'
    TabOrder = 2
    object GroupBox3: TGroupBox
      Left = 10
      Top = 18
      Width = 172
      Height = 60
      Caption = 'BRIGHTNESS'
      TabOrder = 0
      object scbBri: TScrollBar
        Left = 10
        Top = 26
        Width = 152
        Height = 17
        LargeChange = 10
        Max = 100
        PageSize = 0
        Position = 50
        TabOrder = 0
      end
    end
    object GroupBox6: TGroupBox
      Left = 194
      Top = 18
      Width = 172
      Height = 60
      Caption = 'CONTRAST'
      TabOrder = 1
      object scbCon: TScrollBar
        Left = 10
        Top = 26
        Width = 152
        Height = 17
        LargeChange = 10
        Max = 100
        PageSize = 0
        Position = 50
        TabOrder = 0
      end
    end
  end
  object GroupBox4: TGroupBox
    Left = 12
    Top = 164
    Width = 184
    Height = 52
    Caption = 'COVERT'
    TabOrder = 3
    object rbtCovertOn: TRadioButton
      Left = 16
      Top = 24
      Width = 64
      Height = 17
      Caption = 'ON'
      TabOrder = 0
    end
    object rbtCovertOff: TRadioButton
      Left = 96
      Top = 24
      Width = 64
      Height = 17
      Caption = 'OFF'
      Checked = True
      TabOrder = 1
      TabStop = True
    end
  end
  object GroupBox7: TGroupBox
    Left = 204
    Top = 164
    Width = 184
    Height = 52
    Caption = 'SEQUENCE'
    TabOrder = 4
    object cmbSeq: TComboBox
      Left = 12
      Top = 20
      Width = 160
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      TabOrder = 0
    end
  end
  object btnPrev: TButton
    Left = 218
    Top = 228
    Width = 81
    Height = 25
    Caption = 'Prev'
    TabOrder = 5
    OnClick = btnPrevClick
  end
  object btnCancel: TButton
    Left = 307
    Top = 228
    Width = 81
    Height = 25
    Caption = 'CANCEL'
    TabOrder = 6
    OnClick = btnCancelClick
  end
end
