object ExampleForm: TForm
  Left = 120
  Top = 80
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu, biMinimize]
  Caption = 'Example '#8212' every control'
  ClientHeight = 470
  ClientWidth = 640
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  FormStyle = fsStayOnTop
  KeyPreview = True
  Position = poDesigned
  PopupMenu = PopupMenu1
  ActiveControl = Edit1
  PixelsPerInch = 96
  TextHeight = 13
  object Background: TImage
    Left = 0
    Top = 0
    Width = 640
    Height = 24
    Picture.FileName = 'skins/example_strip.bmp'
    Stretch = True
  end
  object Label1: TLabel
    Left = 8
    Top = 32
    Width = 200
    Height = 13
    Caption = 'Name:'#9'it''s a label'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clNavy
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = [fsBold, fsUnderline]
    ParentFont = False
    Transparent = True
  end
  object Label2: TLabel
    Left = 8
    Top = 52
    Width = 150
    Height = 30
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'A longer text that wraps onto a second line'
    WordWrap = True
    Layout = tlCenter
  end
  object Edit1: TEdit
    Left = 216
    Top = 28
    Width = 121
    Height = 21
    MaxLength = 15
    TabOrder = 0
    Text = '192.168.0.1'
  end
  object MaskEdit1: TMaskEdit
    Left = 344
    Top = 28
    Width = 121
    Height = 21
    PasswordChar = '*'
    TabOrder = 1
    Text = 'secret'
  end
  object Memo1: TMemo
    Left = 472
    Top = 28
    Width = 160
    Height = 60
    Lines.Strings = (
      'first line'
      'second'#9'line'
      '')
    ScrollBars = ssVertical
    TabOrder = 2
  end
  object Button1: TButton
    Left = 216
    Top = 56
    Width = 75
    Height = 25
    Caption = '&OK'
    Default = True
    ModalResult = 1
    TabOrder = 3
  end
  object BitBtn1: TBitBtn
    Left = 296
    Top = 56
    Width = 80
    Height = 25
    TabOrder = 4
    Kind = bkCancel
  end
  object CheckBox1: TCheckBox
    Left = 384
    Top = 60
    Width = 80
    Height = 17
    Caption = 'Check me'
    Checked = True
    State = cbChecked
    TabOrder = 5
  end
  object GroupBox1: TGroupBox
    Left = 8
    Top = 96
    Width = 200
    Height = 80
    Caption = 'Level'
    TabOrder = 6
    object rbtAdmin: TRadioButton
      Left = 12
      Top = 20
      Width = 120
      Height = 17
      Caption = 'Administrator'
      TabOrder = 0
    end
    object rbtUser: TRadioButton
      Left = 12
      Top = 44
      Width = 120
      Height = 17
      Caption = 'User'
      Checked = True
      TabOrder = 1
      TabStop = True
    end
  end
  object ComboBox1: TComboBox
    Left = 216
    Top = 96
    Width = 145
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    ItemIndex = 1
    TabOrder = 7
    Items.Strings = (
      'ALL'
      'EVENT'
      'NONE')
  end
  object ListBox1: TListBox
    Left = 216
    Top = 124
    Width = 145
    Height = 52
    ItemHeight = 13
    Items.Strings = (
      'zulu:5000'
      'alpha:5001'
      'mike:5002')
    Sorted = True
    TabOrder = 8
  end
  object ScrollBar1: TScrollBar
    Left = 368
    Top = 96
    Width = 121
    Height = 17
    LargeChange = 10
    Max = 100
    Min = 0
    Position = 50
    TabOrder = 9
  end
  object Panel1: TPanel
    Left = 368
    Top = 120
    Width = 120
    Height = 56
    BevelInner = bvLowered
    BevelOuter = bvRaised
    Caption = 'Panel'
    Color = $00E0FFFF
    TabOrder = 10
    object Bevel1: TBevel
      Left = 8
      Top = 40
      Width = 104
      Height = 8
      Shape = bsTopLine
    end
  end
  object PaintBox1: TPaintBox
    Left = 496
    Top = 96
    Width = 136
    Height = 80
  end
  object StringGrid1: TStringGrid
    Left = 8
    Top = 184
    Width = 308
    Height = 108
    BorderStyle = bsNone
    ColCount = 12
    DefaultColWidth = 25
    DefaultRowHeight = 26
    FixedCols = 0
    FixedRows = 0
    RowCount = 4
    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine]
    ScrollBars = ssNone
    TabOrder = 11
  end
  object PageControl1: TPageControl
    Left = 324
    Top = 184
    Width = 308
    Height = 140
    ActivePage = TabSheet2
    TabOrder = 12
    object TabSheet1: TTabSheet
      Caption = 'GROUP 1'
      object Label3: TLabel
        Left = 8
        Top = 8
        Width = 80
        Height = 13
        Caption = 'First page'
      end
    end
    object TabSheet2: TTabSheet
      Caption = 'GROUP 2'
      object Label4: TLabel
        Left = 8
        Top = 8
        Width = 80
        Height = 13
        Caption = 'Second page'
      end
    end
    object TabSheet3: TTabSheet
      Caption = 'HIDDEN'
      TabVisible = False
    end
  end
  object PanelBottom: TPanel
    Left = 0
    Top = 440
    Width = 640
    Height = 30
    Align = alBottom
    BevelOuter = bvLowered
    Caption = 'Status'
    TabOrder = 13
  end
  object PopupMenu1: TPopupMenu
    Left = 560
    Top = 8
    object MenuItemQuad: TMenuItem
      Caption = 'Quad'
      Checked = True
      GroupIndex = 1
      RadioItem = True
    end
    object MenuItemCam1: TMenuItem
      Caption = 'Camera 1'
      GroupIndex = 1
      RadioItem = True
    end
    object N1: TMenuItem
      Caption = '-'
    end
    object MenuItemPrint: TMenuItem
      Caption = 'Print && Save'
      object MenuItemPrintCam1: TMenuItem
        Caption = 'Camera 1'
      end
    end
    object MenuItemSave: TMenuItem
      Caption = 'Save'
      Visible = False
    end
  end
  object TimerDialogPosition: TTimer
    Enabled = False
    Interval = 1
    Left = 592
    Top = 8
  end
  object OpenDialog1: TOpenDialog
    DefaultExt = 'bin'
    Filter = 'System Image|*.BIN;*.TAR'
    Options = [ofHideReadOnly, ofFileMustExist, ofEnableSizing]
    Left = 520
    Top = 8
  end
  object SaveDialog1: TSaveDialog
    DefaultExt = 'txt'
    FileName = '*.txt'
    Filter = 'Text (*.txt)|*.txt'
    Left = 488
    Top = 8
  end
end
