object frmBaseGene: TfrmBaseGene
  Left = 250
  Top = 150
  Width = 509
  Height = 355
  Caption = 'frmBaseGene'
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = #23435#20307
  Font.Style = []
  KeyPreview = True
  Position = poScreenCenter
  OnClose = FormClose
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnKeyDown = FormKeyDown
  OnKeyPress = FormKeyPress
  OnResize = FormResize
  OnShow = FormShow
  object pnlCondition: TPanel
    Left = 0
    Top = 0
    Width = 151
    Height = 287
    Align = alLeft
    BevelOuter = bvNone
    Caption = ' '
    TabOrder = 0
    object lblCondition: TLabel
      Left = 0
      Top = 0
      Width = 151
      Height = 20
      Align = alTop
      AutoSize = False
      Caption = ' '#26465#20214#26041#26696
      Color = clInactiveCaption
      Layout = tlCenter
      Font.Charset = GB2312_CHARSET
      Font.Color = clInactiveCaptionText
      Font.Height = -13
      Font.Name = #23435#20307
      Font.Style = [fsBold]
      ParentFont = False
    end
    object ToolBar1: TToolBar
      Left = 0
      Top = 20
      Width = 151
      Height = 28
      Align = alTop
      ButtonHeight = 24
      ButtonWidth = 26
      Flat = True
      Images = ImageList1
      TabOrder = 0
      object btnInsert: TToolButton
        Left = 0
        Top = 0
        Caption = #20445#23384'(&S)'
        Hint = #20445#23384#26041#26696
        ImageIndex = 1
        OnClick = btnInsertClick
      end
      object btnOpen: TToolButton
        Left = 36
        Top = 0
        Caption = #24320#21551'(&O)'
        Hint = #24320#21551#26041#26696
        ImageIndex = 2
        OnClick = btnOpenClick
      end
      object btnDelete: TToolButton
        Left = 72
        Top = 0
        Caption = #21024#38500'(&D)'
        Hint = #21024#38500#26041#26696
        ImageIndex = 3
        OnClick = btnDeleteClick
      end
      object ToolButton1: TToolButton
        Left = 108
        Top = 0
        Caption = 'ViewIcon'
        DropdownMenu = mnList
        ImageIndex = 4
        Style = tbsDropDown
        OnClick = ToolButton1Click
      end
    end
    object lstCondition: TSchemeListView
      Left = 0
      Top = 44
      Width = 151
      Height = 243
      Align = alClient
      HideSelection = False
      PopupMenu = muOperation
      SmallImages = ImageList1
      LargeImages = ImageList2
      ViewStyle = vsIcon
      TabOrder = 1
      OnDblClick = lstConditionDblClick
      OnEdited = lstConditionEdited
    end
  end
  object Splitter1: TSplitter
    Left = 151
    Top = 0
    Width = 3
    Height = 287
    Align = alLeft
  end
  object Panel1: TPanel
    Left = 0
    Top = 287
    Width = 501
    Height = 41
    Align = alBottom
    BevelOuter = bvNone
    Caption = ' '
    TabOrder = 2
    object btnOk: TButton
      Left = 326
      Top = 8
      Width = 75
      Height = 25
      Anchors = [akTop, akRight]
      Caption = #30830#23450
      Default = True
      TabOrder = 0
      OnClick = btnOkClick
    end
    object btnCancel: TButton
      Left = 414
      Top = 8
      Width = 75
      Height = 25
      Anchors = [akTop, akRight]
      Cancel = True
      Caption = #21462#28040
      ModalResult = 2
      TabOrder = 1
      OnClick = btnCancelClick
    end
  end
  object pgOption: TExtPageControl
    Left = 154
    Top = 0
    Width = 347
    Height = 287
    Hint = #35831#36755#20837#36873#39033#26465#20214
    ActivePage = tsOption1
    Align = alClient
    ShowHint = True
    TabOrder = 1
    OnChange = pgOptionChange
    OnChanging = pgOptionChanging
    object tsOption1: TTabSheet
      Caption = #22522#26412#36873#39033
    end
    object tsOption2: TTabSheet
      Caption = #31995#32479#36873#39033
      ImageIndex = 1
      object lblToday: TLabel
        Left = 8
        Top = 12
        Width = 52
        Height = 13
        Caption = #21046#34920#26085#26399
      end
      object edPrintDate: TMaskEdit
        Left = 60
        Top = 8
        Width = 85
        Height = 21
        Hint = '[F2]'#26085#26399#24555#25163
        ShowHint = True
        TabOrder = 0
      end
      object btnPrintDate: TF2Button
        Left = 147
        Top = 8
        Width = 21
        Height = 21
        Hint = #26085#26399#24555#25163
        ShowHint = True
        F2Control = edPrintDate
        GlyphIndex = 9
      end
    end
  end
  object mnList: TPopupMenu
    object ViewIcon: TMenuItem
      Caption = #22823#22411#22270#26631'(&G)'
      Checked = True
      GroupIndex = 1
      RadioItem = True
      OnClick = ViewIconExecute
    end
    object ViewSmallIcon: TMenuItem
      Caption = #23567#22411#22270#26631'(&M)'
      GroupIndex = 1
      RadioItem = True
      OnClick = ViewSmallIconExecute
    end
    object ViewList: TMenuItem
      Caption = #28165#21333'(&L)'
      GroupIndex = 1
      RadioItem = True
      OnClick = ViewListExecute
    end
    object ViewReport: TMenuItem
      Caption = #35814#32454#20449#24687'(&D)'
      GroupIndex = 1
      RadioItem = True
      OnClick = ViewReportExecute
    end
  end
  object muOperation: TPopupMenu
    object mnuOpen: TMenuItem
      Caption = #24320#21551'(&O)'
      OnClick = btnOpenClick
    end
    object mnuDelete: TMenuItem
      Caption = #21024#38500'(&D)'
      OnClick = btnDeleteClick
    end
  end
  object ImageList1: TImageList
    Height = 18
    Width = 18
  end
  object ImageList2: TImageList
    Height = 24
    Width = 24
  end
end
