object FrmMain: TFrmMain
  Left = 200
  Top = 80
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'Harbek'
  ClientHeight = 722
  ClientWidth = 912
  Color = $00332E2A
  Font.Charset = DEFAULT_CHARSET
  Font.Color = $00D8D2CD
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  ShowHint = True
  OnActivate = FormActivate
  OnCloseQuery = FormCloseQuery
  OnShow = FormShow
  OnShortCut = FormShortCut
  PixelsPerInch = 96
  TextHeight = 13
  object ImgFrame1: TImgFrame
    Left = 0
    Top = 0
    Picture.FileName = 'skins/main_bg_pal.bmp'
    TotalFrames = 1
    OnMouseDown = ImgFrame1MouseDown
    OnMouseMove = ImgFrame1MouseMove
  end
  object ImgFrame3: TImgFrame
    Left = 0
    Top = 0
    Picture.FileName = 'skins/main_bg_ntsc.bmp'
    TotalFrames = 1
    Visible = False
    OnMouseDown = ImgFrame3MouseDown
    OnMouseMove = ImgFrame3MouseMove
  end
  object BtnMinimize: TBmButton
    Left = 866
    Top = 2
    Bitmap.FileName = 'skins/btn_minimise.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnMinimizeClick
  end
  object BtnClose: TBmButton
    Left = 888
    Top = 2
    Bitmap.FileName = 'skins/btn_close.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnCloseClick
  end
  object PanelScreen: TPanel
    Left = 22
    Top = 24
    Width = 691
    Height = 569
    BevelOuter = bvNone
    Caption = ''
    Color = $00404040
    TabOrder = 0
    PopupMenu = PopupMenu1
    object Panel5: TPanel
      Left = 0
      Top = 0
      Width = 0
      Height = 0
      BevelOuter = bvNone
      Caption = ''
      Color = clBlack
      TabOrder = 0
    end
    object Panel6: TPanel
      Left = 0
      Top = 0
      Width = 0
      Height = 0
      BevelOuter = bvNone
      Caption = ''
      Color = clBlack
      TabOrder = 0
    end
    object Panel7: TPanel
      Left = 0
      Top = 0
      Width = 0
      Height = 0
      BevelOuter = bvNone
      Caption = ''
      Color = clBlack
      TabOrder = 0
    end
    object Panel8: TPanel
      Left = 0
      Top = 0
      Width = 0
      Height = 0
      BevelOuter = bvNone
      Caption = ''
      Color = clBlack
      TabOrder = 0
    end
    object Panel1: TPanel
      Left = 1
      Top = 1
      Width = 689
      Height = 567
      BevelOuter = bvNone
      Caption = ''
      Color = clBlack
      TabOrder = 0
      object LabelCamera1: TLabel
        Left = 8
        Top = 6
        Width = 160
        Height = 16
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelS1: TLabel
        Left = 492
        Top = 6
        Width = 14
        Height = 16
        AutoSize = False
        Caption = 'S'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelA1: TLabel
        Left = 524
        Top = 6
        Width = 14
        Height = 16
        AutoSize = False
        Caption = 'A'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelM1: TLabel
        Left = 556
        Top = 6
        Width = 14
        Height = 16
        AutoSize = False
        Caption = 'M'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object lbRed: TLabel
        Left = 276
        Top = 6
        Width = 14
        Height = 16
        AutoSize = False
        Caption = 'R'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clRed
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object lbYellow: TLabel
        Left = 292
        Top = 6
        Width = 14
        Height = 16
        AutoSize = False
        Caption = 'Y'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object lbLeft: TLabel
        Left = 308
        Top = 6
        Width = 14
        Height = 16
        AutoSize = False
        Caption = 'L'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clLime
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object lbGreen: TLabel
        Left = 324
        Top = 6
        Width = 14
        Height = 16
        AutoSize = False
        Caption = 'G'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clLime
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelGPSdata1: TLabel
        Left = 8
        Top = 26
        Width = 200
        Height = 44
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelTACHOdata1: TLabel
        Left = 8
        Top = 26
        Width = 200
        Height = 30
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelFullSearchTime1: TLabel
        Left = 20
        Top = 120
        Width = 300
        Height = 18
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -13
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
    end
    object Panel2: TPanel
      Left = 346
      Top = 1
      Width = 344
      Height = 283
      BevelOuter = bvNone
      Caption = ''
      Color = clBlack
      TabOrder = 0
      Visible = False
      object LabelCamera2: TLabel
        Left = 8
        Top = 6
        Width = 160
        Height = 16
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelA2: TLabel
        Left = 524
        Top = 6
        Width = 14
        Height = 16
        AutoSize = False
        Caption = 'A'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelM2: TLabel
        Left = 556
        Top = 6
        Width = 14
        Height = 16
        AutoSize = False
        Caption = 'M'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelGPSdata2: TLabel
        Left = 8
        Top = 26
        Width = 200
        Height = 44
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelTACHOdata2: TLabel
        Left = 8
        Top = 26
        Width = 200
        Height = 30
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelFullSearchTime2: TLabel
        Left = 20
        Top = 120
        Width = 300
        Height = 18
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -13
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
    end
    object Panel3: TPanel
      Left = 1
      Top = 285
      Width = 344
      Height = 283
      BevelOuter = bvNone
      Caption = ''
      Color = clBlack
      TabOrder = 0
      Visible = False
      object LabelCamera3: TLabel
        Left = 8
        Top = 6
        Width = 160
        Height = 16
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelA3: TLabel
        Left = 524
        Top = 6
        Width = 14
        Height = 16
        AutoSize = False
        Caption = 'A'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelM3: TLabel
        Left = 556
        Top = 6
        Width = 14
        Height = 16
        AutoSize = False
        Caption = 'M'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelGPSdata3: TLabel
        Left = 8
        Top = 26
        Width = 200
        Height = 44
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelTACHOdata3: TLabel
        Left = 8
        Top = 26
        Width = 200
        Height = 30
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelFullSearchTime3: TLabel
        Left = 20
        Top = 120
        Width = 300
        Height = 18
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -13
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
    end
    object Panel4: TPanel
      Left = 346
      Top = 285
      Width = 344
      Height = 283
      BevelOuter = bvNone
      Caption = ''
      Color = clBlack
      TabOrder = 0
      Visible = False
      object LabelCamera4: TLabel
        Left = 8
        Top = 6
        Width = 160
        Height = 16
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelA4: TLabel
        Left = 524
        Top = 6
        Width = 14
        Height = 16
        AutoSize = False
        Caption = 'A'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelM4: TLabel
        Left = 556
        Top = 6
        Width = 14
        Height = 16
        AutoSize = False
        Caption = 'M'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -12
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelGPSdata4: TLabel
        Left = 8
        Top = 26
        Width = 200
        Height = 44
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelTACHOdata4: TLabel
        Left = 8
        Top = 26
        Width = 200
        Height = 30
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
      object LabelFullSearchTime4: TLabel
        Left = 20
        Top = 120
        Width = 300
        Height = 18
        AutoSize = False
        Caption = ''
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clYellow
        Font.Height = -13
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Transparent = True
        Visible = False
      end
    end
  end
  object ImageEmpty: TImage
    Left = 0
    Top = 0
    Width = 16
    Height = 16
    Picture.FileName = 'skins/blank_black.bmp'
    Visible = False
  end
  object LabelYearMonth: TLabel
    Left = 730
    Top = 30
    Width = 164
    Height = 16
    AutoSize = False
    Alignment = taCenter
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = $00D8D2CD
    Font.Height = -12
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object LabelTime: TLabel
    Left = 730
    Top = 48
    Width = 164
    Height = 22
    AutoSize = False
    Alignment = taCenter
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = $00D9B34F
    Font.Height = -18
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object ImgPoint: TImgFrame
    Left = 884
    Top = 81
    Picture.FileName = 'skins/lamp_green.bmp'
    TotalFrames = 2
    Direction = HORIZONTAL
  end
  object ImgAniState: TImgAnimation
    Left = 864
    Top = 80
    Picture.FileName = 'skins/main_ani_state.bmp'
    TotalFrames = 8
    Direction = HORIZONTAL
    Interval = 100
    Repeated = True
    Visible = False
  end
  object ImgFrame2: TImgFrame
    Left = 726
    Top = 100
    Picture.FileName = 'skins/main_tabs.bmp'
    TotalFrames = 3
    OnMouseDown = ImgFrame2MouseDown
    OnMouseMove = ImgFrame2MouseMove
  end
  object btnLocal_m: TBmButton
    Left = 727
    Top = 100
    Bitmap.FileName = 'skins/tab_local.bmp'
    Direction = _Horizontal
    TotalFrames = 6
    Cursor = crHandPoint
    OnClick = btnLocal_mClick
  end
  object btnLive_m: TBmButton
    Left = 784
    Top = 100
    Bitmap.FileName = 'skins/tab_live.bmp'
    Direction = _Horizontal
    TotalFrames = 6
    CurrentFrame = 3
    Cursor = crHandPoint
    OnClick = btnLive_mClick
  end
  object btnSer_m: TBmButton
    Left = 841
    Top = 100
    Bitmap.FileName = 'skins/tab_search.bmp'
    Direction = _Horizontal
    TotalFrames = 6
    CurrentFrame = 3
    Cursor = crHandPoint
    OnClick = btnSer_mClick
  end
  object BtnConnect: TBmButton
    Left = 738
    Top = 160
    Bitmap.FileName = 'skins/btn_connect.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnConnectClick
  end
  object BtnDisconnect: TBmButton
    Left = 738
    Top = 160
    Bitmap.FileName = 'skins/btn_disconnect.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    Visible = False
    OnClick = BtnDisconnectClick
  end
  object BtnDetectUsb: TBmButton
    Left = 738
    Top = 196
    Bitmap.FileName = 'skins/btn_usb.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnDetectUsbClick
  end
  object BtnUpgrade: TBmButton
    Left = 738
    Top = 232
    Bitmap.FileName = 'skins/btn_upgrade.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnUpgradeClick
  end
  object BtnAbout: TBmButton
    Left = 738
    Top = 268
    Bitmap.FileName = 'skins/btn_about.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnAboutClick
  end
  object BtnLive: TBmButton
    Left = 738
    Top = 160
    Bitmap.FileName = 'skins/btn_live.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    Visible = False
    OnClick = BtnLiveClick
  end
  object BtnDislive: TBmButton
    Left = 738
    Top = 160
    Bitmap.FileName = 'skins/btn_dislive.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    Visible = False
    OnClick = BtnDisliveClick
  end
  object BtnRemote_rec: TBmButton
    Left = 738
    Top = 196
    Bitmap.FileName = 'skins/btn_remote_rec.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    Visible = False
    OnClick = BtnRemote_recClick
  end
  object BtnRemote_stop: TBmButton
    Left = 738
    Top = 196
    Bitmap.FileName = 'skins/btn_remote_stop.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    Visible = False
    OnClick = BtnRemote_stopClick
  end
  object BtnSetup: TBmButton
    Left = 738
    Top = 232
    Bitmap.FileName = 'skins/btn_setup.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    Visible = False
    OnClick = BtnSetupClick
  end
  object BtnSer: TBmButton
    Left = 738
    Top = 160
    Bitmap.FileName = 'skins/btn_ser.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    Visible = False
    OnClick = BtnSerClick
  end
  object BtnDisser: TBmButton
    Left = 738
    Top = 160
    Bitmap.FileName = 'skins/btn_disser.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    Visible = False
    OnClick = BtnDisserClick
  end
  object BtnBackup: TBmButton
    Left = 738
    Top = 196
    Bitmap.FileName = 'skins/btn_backup.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    Visible = False
    OnClick = BtnBackupClick
  end
  object BtnBackup_on: TBmButton
    Left = 738
    Top = 196
    Bitmap.FileName = 'skins/btn_backup_on.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    Visible = False
    OnClick = BtnBackup_onClick
  end
  object BtnPower: TBmButton
    Left = 790
    Top = 340
    Bitmap.FileName = 'skins/btn_power.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnPowerClick
  end
  object BtnLoglist: TBmButton
    Left = 736
    Top = 637
    Bitmap.FileName = 'skins/btn_loglist.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnLoglistClick
  end
  object BtnOpenMap: TBmButton
    Left = 818
    Top = 642
    Bitmap.FileName = 'skins/btn_map.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnOpenMapClick
  end
  object LabelSearchTime: TLabel
    Left = 26
    Top = 604
    Width = 266
    Height = 14
    AutoSize = False
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = $00D9B34F
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Label2: TLabel
    Left = 300
    Top = 604
    Width = 40
    Height = 14
    AutoSize = False
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = $00D8D2CD
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label3: TLabel
    Left = 346
    Top = 604
    Width = 190
    Height = 14
    AutoSize = False
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = $00D8D2CD
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object lbState: TLabel
    Left = 540
    Top = 604
    Width = 169
    Height = 14
    AutoSize = False
    Alignment = taRightJustify
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = $009B928A
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object BtnSearch: TBmButton
    Left = 22
    Top = 645
    Bitmap.FileName = 'skins/btn_recorder_disk.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnSearchClick
  end
  object SliderSearch: TBitSlider
    Left = 54
    Top = 645
    Width = 612
    Height = 22
    BkgndBitmap.FileName = 'skins/main_seek_track.bmp'
    BkgndPassBitmap.FileName = 'skins/main_seek_pass.bmp'
    KnobBitmap.FileName = 'skins/main_seek_knob.bmp'
    OnClick = SliderSearchClick
    OnMouseDown = SliderSearchMouseDown
    OnMouseMove = SliderSearchMouseMove
    OnMouseUp = SliderSearchMouseUp
  end
  object Label1: TLabel
    Left = 672
    Top = 650
    Width = 41
    Height = 14
    AutoSize = False
    Alignment = taRightJustify
    Caption = 'X1'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = $00D9B34F
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object ImgFrame5: TImgFrame
    Left = 20
    Top = 678
    Picture.FileName = 'skins/main_volume_plate.bmp'
    TotalFrames = 1
  end
  object ImgFrame4: TImgFrame
    Left = 24
    Top = 694
    Picture.FileName = 'skins/main_speaker.bmp'
    TotalFrames = 2
    Direction = HORIZONTAL
  end
  object SliderVolume: TBitSlider
    Left = 44
    Top = 693
    Width = 60
    Height = 14
    BkgndBitmap.FileName = 'skins/main_volume_track.bmp'
    BkgndPassBitmap.FileName = 'skins/main_volume_pass.bmp'
    KnobBitmap.FileName = 'skins/main_volume_knob.bmp'
    OnMouseUp = SliderVolumeMouseUp
  end
  object BtnFirst: TBmButton
    Left = 116
    Top = 677
    Bitmap.FileName = 'skins/btn_first.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnFirstClick
  end
  object BtnPrev: TBmButton
    Left = 147
    Top = 677
    Bitmap.FileName = 'skins/btn_prev.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnPrevClick
  end
  object BtnFastReverse: TBmButton
    Left = 178
    Top = 677
    Bitmap.FileName = 'skins/btn_fastreverse.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnFastReverseClick
  end
  object BtnReverse: TBmButton
    Left = 209
    Top = 677
    Bitmap.FileName = 'skins/btn_reverse.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnReverseClick
  end
  object BtnPlay: TBmButton
    Left = 240
    Top = 677
    Bitmap.FileName = 'skins/btn_play.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnPlayClick
  end
  object BtnPause: TBmButton
    Left = 271
    Top = 677
    Bitmap.FileName = 'skins/btn_pause.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnPauseClick
  end
  object BtnStop: TBmButton
    Left = 302
    Top = 677
    Bitmap.FileName = 'skins/btn_stop.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnStopClick
  end
  object BtnFastPlay: TBmButton
    Left = 333
    Top = 677
    Bitmap.FileName = 'skins/btn_fastplay.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnFastPlayClick
  end
  object BtnNext: TBmButton
    Left = 364
    Top = 677
    Bitmap.FileName = 'skins/btn_next.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnNextClick
  end
  object BtnLast: TBmButton
    Left = 395
    Top = 677
    Bitmap.FileName = 'skins/btn_last.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnLastClick
  end
  object BtnBack5: TBmButton
    Left = 240
    Top = 677
    Bitmap.FileName = 'skins/btn_back5.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    Visible = False
    OnClick = BtnBack5Click
  end
  object ImgHideBtn: TImgFrame
    Left = 272
    Top = 662
    Picture.FileName = 'skins/main_hide_plate.bmp'
    TotalFrames = 1
    Visible = False
    OnMouseDown = ImgHideBtnMouseDown
    OnMouseMove = ImgHideBtnMouseMove
  end
  object BtnRecStart: TBmButton
    Left = 438
    Top = 671
    Bitmap.FileName = 'skins/btn_recstart.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    Visible = False
    OnClick = BtnRecStartClick
  end
  object BtnRecStop: TBmButton
    Left = 438
    Top = 671
    Bitmap.FileName = 'skins/btn_recstop.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    Visible = False
    OnClick = BtnRecStopClick
  end
  object BtnCamera1: TBmButton
    Left = 490
    Top = 677
    Bitmap.FileName = 'skins/btn_cam1.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnCamera1Click
  end
  object BtnCamera2: TBmButton
    Left = 521
    Top = 677
    Bitmap.FileName = 'skins/btn_cam2.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnCamera2Click
  end
  object BtnCamera3: TBmButton
    Left = 552
    Top = 677
    Bitmap.FileName = 'skins/btn_cam3.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnCamera3Click
  end
  object BtnCamera4: TBmButton
    Left = 583
    Top = 677
    Bitmap.FileName = 'skins/btn_cam4.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnCamera4Click
  end
  object BtnQuad: TBmButton
    Left = 622
    Top = 677
    Bitmap.FileName = 'skins/btn_quad.bmp'
    Direction = _Horizontal
    TotalFrames = 4
    Cursor = crHandPoint
    OnClick = BtnQuadClick
  end
  object Label5: TLabel
    Left = 730
    Top = 400
    Width = 80
    Height = 14
    AutoSize = False
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = $009B928A
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    Transparent = True
    Visible = False
  end
  object Label6: TLabel
    Left = 814
    Top = 400
    Width = 80
    Height = 14
    AutoSize = False
    Caption = ''
    Font.Charset = DEFAULT_CHARSET
    Font.Color = $009B928A
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    Transparent = True
    Visible = False
  end
  object lbDebug: TListBox
    Left = 728
    Top = 420
    Width = 168
    Height = 100
    ItemHeight = 13
    TabOrder = 1
    Visible = False
  end
  object Button1: TButton
    Left = 730
    Top = 526
    Width = 40
    Height = 22
    Caption = '1'
    TabOrder = 2
    Enabled = False
    Visible = False
    OnClick = Button1Click
  end
  object Button2: TButton
    Left = 772
    Top = 526
    Width = 40
    Height = 22
    Caption = '2'
    TabOrder = 3
    Enabled = False
    Visible = False
    OnClick = Button2Click
  end
  object Button3: TButton
    Left = 814
    Top = 526
    Width = 40
    Height = 22
    Caption = '3'
    TabOrder = 4
    Visible = False
    OnClick = Button3Click
  end
  object Button4: TButton
    Left = 856
    Top = 526
    Width = 40
    Height = 22
    Caption = '4'
    TabOrder = 5
    Visible = False
  end
  object Button5: TButton
    Left = 730
    Top = 550
    Width = 40
    Height = 22
    Caption = '5'
    TabOrder = 6
    Visible = False
    OnClick = Button5Click
  end
  object Button6: TButton
    Left = 772
    Top = 550
    Width = 40
    Height = 22
    Caption = '6'
    TabOrder = 7
    Visible = False
    OnClick = Button6Click
  end
  object Button7: TButton
    Left = 814
    Top = 550
    Width = 40
    Height = 22
    Caption = '7'
    TabOrder = 8
    Visible = False
    OnClick = Button7Click
  end
  object Pause: TButton
    Left = 856
    Top = 550
    Width = 40
    Height = 22
    Caption = 'Pause'
    TabOrder = 9
    Enabled = False
    Visible = False
    OnClick = PauseClick
  end
  object Play: TButton
    Left = 730
    Top = 574
    Width = 40
    Height = 22
    Caption = 'Play'
    TabOrder = 10
    Enabled = False
    Visible = False
    OnClick = PlayClick
  end
  object Step: TButton
    Left = 772
    Top = 574
    Width = 40
    Height = 22
    Caption = 'Step'
    TabOrder = 11
    Enabled = False
    Visible = False
    OnClick = StepClick
  end
  object Button11: TButton
    Left = 814
    Top = 574
    Width = 40
    Height = 22
    Caption = 'Start'
    TabOrder = 12
    Enabled = False
    Visible = False
    OnClick = Button11Click
  end
  object Button12: TButton
    Left = 856
    Top = 574
    Width = 40
    Height = 22
    Caption = 'Stop'
    TabOrder = 13
    Enabled = False
    Visible = False
    OnClick = Button12Click
  end
  object PopupMenu1: TPopupMenu
    object MenuItemQuad: TMenuItem
      Caption = 'Quad'
      GroupIndex = 1
      RadioItem = True
      OnClick = MenuItemQuadClick
    end
    object MenuItemCam1: TMenuItem
      Caption = 'Camera 1'
      Checked = True
      GroupIndex = 1
      RadioItem = True
      OnClick = MenuItemCam1Click
    end
    object MenuItemCam2: TMenuItem
      Caption = 'Camera 2'
      GroupIndex = 1
      RadioItem = True
      OnClick = MenuItemCam2Click
    end
    object MenuItemCam3: TMenuItem
      Caption = 'Camera 3'
      GroupIndex = 1
      RadioItem = True
      OnClick = MenuItemCam3Click
    end
    object MenuItemCam4: TMenuItem
      Caption = 'Camera 4'
      GroupIndex = 1
      RadioItem = True
      OnClick = MenuItemCam4Click
    end
    object N1: TMenuItem
      Caption = '-'
    end
    object MenuItemPrint: TMenuItem
      Caption = 'Print && Save'
      object MenuItemPrintCam1: TMenuItem
        Caption = 'Camera 1'
        OnClick = MenuItemPrintCam1Click
      end
      object MenuItemPrintCam2: TMenuItem
        Caption = 'Camera 2'
        OnClick = MenuItemPrintCam2Click
      end
      object MenuItemPrintCam3: TMenuItem
        Caption = 'Camera 3'
        OnClick = MenuItemPrintCam3Click
      end
      object MenuItemPrintCam4: TMenuItem
        Caption = 'Camera 4'
        OnClick = MenuItemPrintCam4Click
      end
    end
    object N2: TMenuItem
      Caption = '-'
    end
    object MenuItemFullMode: TMenuItem
      Caption = 'Full Mode'
      GroupIndex = 2
      RadioItem = True
      OnClick = MenuItemFullModeClick
    end
    object MenuItemSkinMode: TMenuItem
      Caption = 'Skin Mode'
      Checked = True
      GroupIndex = 2
      RadioItem = True
      OnClick = MenuItemSkinModeClick
    end
    object N3: TMenuItem
      Caption = '-'
    end
    object MenuItemGPS: TMenuItem
      Caption = 'GPS'
      object MenuItemGPSON: TMenuItem
        Caption = 'ON'
        GroupIndex = 3
        RadioItem = True
        OnClick = MenuItemGPSONClick
      end
      object MenuItemGPSOFF: TMenuItem
        Caption = 'OFF'
        Checked = True
        GroupIndex = 3
        RadioItem = True
        OnClick = MenuItemGPSOFFClick
      end
      object MenuItemGPSTL: TMenuItem
        Caption = 'TOP LEFT'
        GroupIndex = 6
        RadioItem = True
        OnClick = MenuItemGPSTLClick
      end
      object MenuItemGPSTR: TMenuItem
        Caption = 'TOP RIGHT'
        GroupIndex = 6
        RadioItem = True
        OnClick = MenuItemGPSTRClick
      end
      object MenuItemGPSBL: TMenuItem
        Caption = 'BOTTOM LEFT'
        GroupIndex = 6
        RadioItem = True
        OnClick = MenuItemGPSBLClick
      end
      object MenuItemGPSBR: TMenuItem
        Caption = 'BOTTOM RIGHT'
        GroupIndex = 6
        RadioItem = True
        OnClick = MenuItemGPSBRClick
      end
    end
    object MenuItemTACHO: TMenuItem
      Caption = 'TACHO'
      object MenuItemTACHOON: TMenuItem
        Caption = 'ON'
        GroupIndex = 4
        RadioItem = True
        OnClick = MenuItemTACHOONClick
      end
      object MenuItemTACHOOFF: TMenuItem
        Caption = 'OFF'
        Checked = True
        GroupIndex = 4
        RadioItem = True
        OnClick = MenuItemTACHOOFFClick
      end
    end
    object MenuItemCOLOR: TMenuItem
      Caption = 'COLOR'
      object MenuItemCOLORRED: TMenuItem
        Caption = 'RED'
        GroupIndex = 5
        RadioItem = True
        OnClick = MenuItemCOLORREDClick
      end
      object MenuItemCOLORBLUE: TMenuItem
        Caption = 'BLUE'
        GroupIndex = 5
        RadioItem = True
        OnClick = MenuItemCOLORBLUEClick
      end
      object MenuItemCOLORYELLOW: TMenuItem
        Caption = 'YELLOW'
        Checked = True
        GroupIndex = 5
        RadioItem = True
        OnClick = MenuItemCOLORYELLOWClick
      end
    end
    object MenuItemSaved: TMenuItem
      Caption = 'Save'
      Visible = False
    end
  end
  object OpenDialog1: TOpenDialog
    Filter = 'System Image|*.BIN;*.TAR'
  end
  object TimerHeartBeat: TTimer
    Enabled = False
    Interval = 1000
    OnTimer = TimerHeartBeatTimer
  end
  object TimerDialogPosition: TTimer
    Enabled = False
    Interval = 1
    OnTimer = TimerDialogPositionTimer
  end
  object TimerClock: TTimer
    Interval = 1000
    OnTimer = TimerClockTimer
  end
  object TimerPlayState: TTimer
    Interval = 2000
    OnTimer = TimerPlayStateTimer
  end
  object TimerAVData: TTimer
    Interval = 3000
    OnTimer = TimerAVDataTimer
  end
  object TimerPutItem: TTimer
    Enabled = False
    Interval = 1000
  end
  object TimerVolume: TTimer
    Interval = 100
    OnTimer = TimerVolumeTimer
  end
  object MMTimerPlayback: TMMTimer
    Enabled = False
    Interval = 40
    OnTimer = MMTimerPlaybackTimer
  end
  object MMTimerReverse: TMMTimer
    Enabled = False
    Interval = 40
    OnTimer = MMTimerReverseTimer
  end
  object MMTimerPutItem: TMMTimer
    Enabled = False
    Interval = 33
    OnTimer = MMTimerPutItemTimer
  end
end
