inherited frmVRFormat: TfrmVRFormat
  Caption = 'frmVRFormat'
  inherited QuickRep1: TQuickRep
    PageStartBand = QRGroup
    PageDetailBand = QRDetailBand
    PageAttachDetailBand = QRGroupFooter
    PageEndBand = GroupFooterChildBand
    PageStyle = psHalfPage
    object QRGroup: TQRGroup
      Left = 0
      Top = 0
      Width = 592
      Height = 96
      Tag = 1
      Hint = '单头'
      Expression = 'ClientDataSet1.TO001+ClientDataSet1.TO002'
      FooterBand = QRGroupFooter
      BeforePrint = QRGroupBeforePrint
      object lblCompany: TQRLabel
        Left = 0
        Top = 4
        Width = 592
        Height = 20
        AutoSize = False
        Alignment = taCenter
        Caption = ''
        Font.Name = 'SimSun'
        Font.Size = 14
        Font.Style = [fsBold]
      end
      object lblVoucherName: TQRLabel
        Left = 0
        Top = 28
        Width = 592
        Height = 22
        AutoSize = False
        Alignment = taCenter
        Caption = ''
        Font.Name = 'SimSun'
        Font.Size = 16
        Font.Style = [fsBold]
      end
      object lblCreateDate1: TQRLabel
        Left = 0
        Top = 62
        Width = 120
        Height = 14
        Caption = '制表日期'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = lblCreateDate1Print
      end
      object lblPageNo: TQRLabel
        Left = 500
        Top = 62
        Width = 30
        Height = 14
        AutoSize = False
        Alignment = taRightJustify
        Caption = '1'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblTotalPage: TQRLabel
        Left = 550
        Top = 62
        Width = 30
        Height = 14
        AutoSize = False
        Caption = '1'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblPrintDate1: TQRLabel
        Left = 2000
        Top = 62
        Width = 80
        Height = 14
        Enabled = False
        Caption = ''
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblPrintTime1: TQRLabel
        Left = 2100
        Top = 62
        Width = 40
        Height = 14
        Enabled = False
        Caption = ''
        Font.Name = 'SimSun'
        Font.Size = 9
      end
    end
    object QRDetailBand: TQRBand
      Left = 0
      Top = 96
      Width = 592
      Height = 18
      Tag = 2
      Hint = '单身'
      BandType = rbDetail
      BeforePrint = QRDetailBandBeforePrint
      AfterPrint = QRDetailBandAfterPrint
      object lblSeq: TQRLabel
        Left = 0
        Top = 2
        Width = 36
        Height = 14
        Caption = '项次'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
    end
    object QRGroupFooter: TQRBand
      Left = 0
      Top = 114
      Width = 592
      Height = 54
      Tag = 3
      Hint = '单尾'
      BandType = rbGroupFooter
      BeforePrint = QRGroupFooterBeforePrint
      object lblNoData: TQRLabel
        Left = 0
        Top = 2
        Width = 80
        Height = 14
        Caption = '以下空白//'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
    end
    object GroupFooterChildBand: TQRChildBand
      Left = 0
      Top = 168
      Width = 592
      Height = 72
      Tag = 4
      Hint = '页脚签核'
      ParentBand = QRGroupFooter
      object lblNote1: TQRLabel
        Left = 0
        Top = 2
        Width = 280
        Height = 14
        Caption = '备注1'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblNote2: TQRLabel
        Left = 0
        Top = 18
        Width = 280
        Height = 14
        Caption = '备注2'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblNote3: TQRLabel
        Left = 0
        Top = 34
        Width = 280
        Height = 14
        Caption = '备注3'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblSignIn1: TQRLabel
        Left = 300
        Top = 2
        Width = 290
        Height = 14
        Caption = '签核栏1'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblSignIn2: TQRLabel
        Left = 300
        Top = 18
        Width = 290
        Height = 14
        Caption = '签核栏2'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblSignIn3: TQRLabel
        Left = 300
        Top = 34
        Width = 290
        Height = 14
        Caption = '签核栏3'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCreateDate2: TQRLabel
        Left = 0
        Top = 54
        Width = 100
        Height = 14
        Caption = ''
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = lblCreateDate1Print
      end
      object lblNextPage: TQRLabel
        Left = 500
        Top = 54
        Width = 80
        Height = 14
        Caption = '接下页...'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblPrintDate2: TQRLabel
        Left = 2000
        Top = 54
        Width = 80
        Height = 14
        Enabled = False
        Caption = ''
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblPrintTime2: TQRLabel
        Left = 2100
        Top = 54
        Width = 40
        Height = 14
        Enabled = False
        Caption = ''
        Font.Name = 'SimSun'
        Font.Size = 9
      end
    end
  end
end
