inherited frmVRBaseOpt: TfrmVRBaseOpt
  Width = 655
  Caption = 'frmVRBaseOpt'
  OnShow = FormShow
  inherited Panel1: TPanel
    object btnDesign: TButton
      Left = 15
      Top = 8
      Width = 80
      Height = 25
      Anchors = [akTop, akRight]
      Caption = '设计凭证(&E)'
      TabOrder = 0
      OnClick = btnDesignClick
    end
    object btnPrintSetup: TButton
      Left = 99
      Top = 8
      Width = 88
      Height = 25
      Anchors = [akTop, akRight]
      Caption = '设置打印机(&R)'
      TabOrder = 1
      OnClick = btnPrintSetupClick
    end
    object btnPaperSize: TButton
      Left = 191
      Top = 8
      Width = 80
      Height = 25
      Anchors = [akTop, akRight]
      Caption = '纸张格式(&A)'
      TabOrder = 2
      OnClick = btnPaperSizeClick
    end
    object btnPreview: TButton
      Left = 275
      Top = 8
      Width = 70
      Height = 25
      Anchors = [akTop, akRight]
      Caption = '预览(&V)'
      TabOrder = 3
      OnClick = btnPreviewClick
    end
    inherited btnOk: TButton
      Left = 349
      Width = 70
      Caption = '打印(&P)'
      TabOrder = 4
      OnClick = btnOkClick
    end
    inherited btnCancel: TButton
      Left = 423
      Width = 70
      Caption = '取消(&C)'
      TabOrder = 5
    end
  end
  inherited pnlCondition: TPanel
    inherited ToolBar1: TToolBar
      inherited btnInsert: TToolButton
        OnClick = btnInsertClick
      end
    end
  end
  inherited pgOption: TExtPageControl
    OnChange = pgOptionChange
    inherited tsOption2: TTabSheet
      object lblDateType: TLabel
        Left = 200
        Top = 12
        Caption = '日期类型'
      end
      object cboDateType: TComboBox
        Left = 260
        Top = 8
        Width = 150
        Height = 21
        Style = csDropDownList
        TabOrder = 1
        Items.Strings = (
          '公历 YYYYMMDD'
          '公历 MMDDYYYY'
          '公历 DDMMYYYY'
          '民国年 YYMMDD'
          '民国年 YYYMMDD')
      end
      object lblFormStyleName: TLabel
        Left = 8
        Top = 42
        Caption = '打印使用格式'
      end
      object cboFormStyleName: TComboBox
        Left = 92
        Top = 38
        Width = 180
        Height = 21
        MaxLength = 20
        TabOrder = 2
        OnDropDown = cboFormStyleNameDropDown
        OnKeyPress = cboFormStyleNameKeyPress
      end
      object btnDelFormStype: TSpeedButton
        Left = 274
        Top = 38
        Width = 21
        Height = 21
        Caption = 'X'
        Flat = True
        Hint = '删除格式'
        ShowHint = True
        OnClick = btnDelFormStypeClick
      end
    end
    object tsFEP: TTabSheet
      Caption = 'Fax/Email选项'
      object rgSendType: TRadioGroup
        Left = 8
        Top = 4
        Width = 260
        Height = 60
        Caption = '选择传送方式'
        Columns = 2
        ItemIndex = 0
        TabOrder = 0
        OnClick = rgSendTypeClick
        Items.Strings = (
          '打印'
          'Fax/Email')
      end
      object lblSendStatus: TLabel
        Left = 8
        Top = 80
        Caption = '选择FAX/Email传送状态'
      end
      object cboSendStatus: TComboBox
        Left = 190
        Top = 76
        Width = 150
        Height = 21
        Style = csDropDownList
        Enabled = False
        TabOrder = 1
        Items.Strings = (
          '已传送'
          '未传送'
          '全部')
      end
      object lblSendWay: TLabel
        Left = 8
        Top = 110
        Caption = '选择FAX/Email传送方式'
      end
      object cboSendWay: TComboBox
        Left = 190
        Top = 106
        Width = 180
        Height = 21
        Style = csDropDownList
        Enabled = False
        TabOrder = 2
        OnChange = cboSendWayChange
        Items.Strings = (
          'FAX To 供应商'
          'Email To 供应商'
          'FAX To 客户'
          'Email To 客户'
          'FAX To 自定义对象'
          'Email To 自定义对象')
      end
      object lblFaxEmail: TLabel
        Left = 8
        Top = 140
        Caption = 'FAX NO'
      end
      object edtFaxEmailData: TEdit
        Left = 190
        Top = 136
        Width = 220
        Height = 21
        TabOrder = 3
        OnExit = edtFaxEmailDataExit
      end
    end
  end
  object moPaperSize: TMemo
    Left = 0
    Top = 0
    Width = 10
    Height = 10
    Visible = False
    Lines.Strings = (
      'Default'
      'Letter'
      'LetterSmall'
      'Tabloid'
      'Ledger'
      'Legal'
      'Statement'
      'Executive'
      'A3'
      'A4'
      'A4Small'
      'A5'
      'B4'
      'B5'
      'Folio'
      'Quarto'
      'qr10X14'
      'qr11X17'
      'Note'
      'Env9'
      'Env10'
      'Env11'
      'Env12'
      'Env14'
      'CSheet'
      'DSheet'
      'ESheet'
      'Custom')
  end
  object moUnits: TMemo
    Left = 0
    Top = 0
    Width = 10
    Height = 10
    Visible = False
    Lines.Strings = (
      'MM'
      'Inches'
      'Pixels'
      'Characters'
      'Native')
  end
end
