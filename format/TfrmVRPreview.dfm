object frmVRPreview: TfrmVRPreview
  Left = 0
  Top = 0
  Width = 1000
  Height = 760
  Caption = '凭证预览'
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'SimSun'
  Font.Style = []
  KeyPreview = True
  ShowHint = True
  OnDestroy = FormDestroy
  OnClose = FormClose
  OnKeyDown = FormKeyDown
  OnKeyPress = FormKeyPress
  object ToolBar1: TToolBar
    Left = 0
    Top = 0
    Width = 1000
    Height = 30
    Align = alTop
    ButtonHeight = 24
    ButtonWidth = 60
    ShowCaptions = True
    Flat = True
    object btnZoomToPage: TToolButton
      Left = 0
      Top = 2
      Hint = '显示整页'
      Caption = '显示整页'
      OnClick = btnZoomToPageClick
    end
    object btnZoomToWidth: TToolButton
      Left = 64
      Top = 2
      Hint = '显示页宽'
      Caption = '显示页宽'
      OnClick = btnZoomToWidthClick
    end
    object lblScale: TLabel
      Left = 128
      Top = 8
      Width = 80
      Height = 12
      Caption = '缩放比率(%)'
    end
    object cboZoom: TComboBox
      Left = 212
      Top = 4
      Width = 60
      Height = 20
      Items.Strings = (
        '200'
        '150'
        '100'
        '75'
        '50'
        '20')
      OnClick = cboZoomClick
      OnExit = cboZoomExit
      OnKeyPress = cboZoomKeyPress
      OnKeyDown = cboZoomKeyDown
    end
    object btnPrint: TToolButton
      Left = 276
      Top = 2
      Hint = '打印'
      Caption = '打印'
      OnClick = btnPrintClick
    end
    object btnFirstPage: TToolButton
      Left = 324
      Top = 2
      Hint = '第一页'
      Caption = '第一页'
      OnClick = btnFirstPageClick
    end
    object btnPreviousPage: TToolButton
      Left = 380
      Top = 2
      Hint = '上一页'
      Caption = '上一页'
      OnClick = btnPreviousPageClick
    end
    object lblPageNo: TLabel
      Left = 436
      Top = 8
      Width = 28
      Height = 12
      Caption = '页次'
    end
    object edtPageNo: TEdit
      Left = 468
      Top = 4
      Width = 44
      Height = 20
      Text = '0'
      OnExit = edtPageNoExit
      OnKeyPress = edtPageNoKeyPress
    end
    object btnNextPage: TToolButton
      Left = 516
      Top = 2
      Hint = '下一页'
      Caption = '下一页'
      OnClick = btnNextPageClick
    end
    object btnLastPage: TToolButton
      Left = 572
      Top = 2
      Hint = '最后一页'
      Caption = '最后一页'
      OnClick = btnLastPageClick
    end
    object btnSaveBMP: TToolButton
      Left = 636
      Top = 2
      Hint = '导出图片'
      Caption = '导出图片'
      DropdownMenu = pmuSaveBMP
      Style = tbsDropDown
    end
    object btnExit: TToolButton
      Left = 716
      Top = 2
      Hint = '退出'
      Caption = '退出'
      OnClick = btnExitClick
    end
    object btnEmail: TToolButton
      Left = 764
      Top = 2
      Hint = 'E-Mail'
      Caption = 'E-Mail'
      OnClick = btnEmailClick
    end
    object btnFax: TToolButton
      Left = 820
      Top = 2
      Hint = 'Fax'
      Caption = 'Fax'
      DropdownMenu = PopupmenuSendFax
      Style = tbsDropDown
      OnClick = btnFaxClick
    end
  end
  object StatusBar: TStatusBar
    Left = 0
    Top = 737
    Width = 1000
    Height = 23
    Align = alBottom
    Panels = <
      item
        Alignment = taRightJustify
        Width = 120
      end
      item
        Text = ' 纸张格式 : '
        Width = 400
      end>
  end
  object QRPreview: TQRPreview
    Left = 0
    Top = 30
    Width = 1000
    Height = 707
    Align = alClient
    Zoom = 100
    PageNumber = 1
    object moPaperSize: TMemo
      Left = 8
      Top = 8
      Width = 100
      Height = 60
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
      Left = 120
      Top = 8
      Width = 100
      Height = 60
      Visible = False
      Lines.Strings = (
        'MM'
        'Inches'
        'Pixels'
        'Characters'
        'Native')
    end
  end
  object pmuSaveBMP: TPopupMenu
    object pmBMP: TMenuItem
      Caption = '转出成 .BMP档'
      OnClick = pmBMPClick
    end
    object pmGIF: TMenuItem
      Caption = '转出成 .GIF档'
      OnClick = pmGIFClick
    end
    object pmJPG: TMenuItem
      Caption = '转出成 .JPG档'
      OnClick = pmJPGClick
    end
    object pmPDF: TMenuItem
      Caption = '转出成 .PDF档'
      OnClick = pmPDFClick
    end
    object pmVectorPDF: TMenuItem
      Caption = '转出成 PDF 文件 (整份)'
      OnClick = pmVectorPDFClick
    end
  end
  object PopupmenuSendFax: TPopupMenu
  end
end
