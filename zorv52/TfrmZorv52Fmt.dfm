inherited frmZorv52Fmt: TfrmZorv52Fmt
  Caption = '工单变更单'
  inherited QuickRep1: TQuickRep
    Page.Values = (0 2794 100 2159 100 100 0)
    PageStyle = psNormal
    ReportTitle = '工单变更单'
    inherited QRGroup: TQRGroup
      Height = 380
      Expression = 'ClientDataSet1.TO001+ClientDataSet1.TO002+ClientDataSet1.TO003'
      inherited lblCompany: TQRLabel
        Left = 0
        Top = 0
        Width = 592
        Height = 18
        AutoSize = False
        Alignment = taCenter
        Font.Name = 'SimSun'
        Font.Size = 12
        Font.Style = [fsBold]
      end
      inherited lblVoucherName: TQRLabel
        Left = 0
        Top = 20
        Width = 592
        Height = 22
        AutoSize = False
        Alignment = taCenter
        Font.Name = 'SimSun'
        Font.Size = 15
        Font.Style = [fsBold]
        OnPrint = lblVoucherNamePrint
      end
      object lblCapTO001T: TQRLabel
        Left = 0
        Top = 50
        Width = 30
        Height = 13
        AutoSize = False
        Caption = '单号:'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO001T: ReportDBText
        Left = 30
        Top = 50
        Width = 136
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO001T'
        Font.Name = 'SimSun'
        Font.Size = 9
        Font.Style = [fsBold]
      end
      object lblCapTO004: TQRLabel
        Left = 172
        Top = 50
        Width = 48
        Height = 13
        AutoSize = False
        Caption = '变更日期:'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO004: ReportDBText
        Left = 220
        Top = 50
        Width = 70
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO004'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = txtTO004Print
      end
      object lblCapTO003: TQRLabel
        Left = 296
        Top = 50
        Width = 30
        Height = 13
        AutoSize = False
        Caption = '版次:'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO003: ReportDBText
        Left = 326
        Top = 50
        Width = 40
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO003'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO041: TQRLabel
        Left = 372
        Top = 50
        Width = 40
        Height = 13
        AutoSize = False
        Caption = '确认码:'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO041: TQRDBIDText
        Left = 412
        Top = 50
        Width = 60
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO041'
        Font.Name = 'SimSun'
        Font.Size = 9
        Items.Strings = (
          'Y=已确认'
          'N=未确认'
          'V=作废')
      end
      object lblCapPage: TQRLabel
        Left = 484
        Top = 50
        Width = 30
        Height = 13
        AutoSize = False
        Caption = '页次:'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      inherited lblPageNo: TQRLabel
        Left = 514
        Top = 50
        Width = 22
        Height = 13
        AutoSize = False
        Alignment = taRightJustify
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblPageSlash: TQRLabel
        Left = 538
        Top = 50
        Width = 8
        Height = 13
        AutoSize = False
        Caption = '/'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      inherited lblTotalPage: TQRLabel
        Left = 548
        Top = 50
        Width = 30
        Height = 13
        AutoSize = False
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO005: TQRLabel
        Left = 0
        Top = 66
        Width = 30
        Height = 13
        AutoSize = False
        Caption = '品号:'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO005: ReportDBText
        Left = 30
        Top = 66
        Width = 136
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO005'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapCreateDate: TQRLabel
        Left = 172
        Top = 66
        Width = 48
        Height = 13
        AutoSize = False
        Caption = '制表日期:'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      inherited lblCreateDate1: TQRLabel
        Left = 220
        Top = 66
        Width = 70
        Height = 13
        AutoSize = False
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object shpHeaderTop: TQRShape
        Left = 0
        Top = 82
        Width = 592
        Height = 4
        Shape = qrsHorLine
      end
      object lblBefore: TQRLabel
        Left = 0
        Top = 87
        Width = 290
        Height = 14
        AutoSize = False
        Alignment = taCenter
        Caption = '变更前'
        Font.Name = 'SimSun'
        Font.Size = 9
        Font.Style = [fsBold]
      end
      object lblAfter: TQRLabel
        Left = 296
        Top = 87
        Width = 296
        Height = 14
        AutoSize = False
        Alignment = taCenter
        Caption = '变更后'
        Font.Name = 'SimSun'
        Font.Size = 9
        Font.Style = [fsBold]
      end
      object shpHalves: TQRShape
        Left = 291
        Top = 86
        Width = 4
        Height = 258
        Shape = qrsVertLine
      end
      object lblCapTO009: TQRLabel
        Left = 0
        Top = 104
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '品名'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO009: ReportDBText
        Left = 46
        Top = 104
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO009'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO010: TQRLabel
        Left = 148
        Top = 104
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '规格'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO010: ReportDBText
        Left = 194
        Top = 104
        Width = 95
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO010'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO109: TQRLabel
        Left = 296
        Top = 104
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '品名'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO109: ReportDBText
        Left = 342
        Top = 104
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO109'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO110: TQRLabel
        Left = 444
        Top = 104
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '规格'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO110: ReportDBText
        Left = 490
        Top = 104
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO110'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO006: TQRLabel
        Left = 0
        Top = 119
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '开单日期'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO006: ReportDBText
        Left = 46
        Top = 119
        Width = 58
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO006'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = txtTO004Print
      end
      object lblTO006: TQRLabel
        Left = 106
        Top = 119
        Width = 38
        Height = 13
        AutoSize = False
        Caption = '星期'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = lblTO006Print
      end
      object lblCapTO012: TQRLabel
        Left = 148
        Top = 119
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '预计开工'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO012: ReportDBText
        Left = 194
        Top = 119
        Width = 58
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO012'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = txtTO004Print
      end
      object lblTO012: TQRLabel
        Left = 254
        Top = 119
        Width = 35
        Height = 13
        AutoSize = False
        Caption = '星期'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = lblTO012Print
      end
      object lblCapTO106: TQRLabel
        Left = 296
        Top = 119
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '开单日期'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO106: ReportDBText
        Left = 342
        Top = 119
        Width = 58
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO106'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = txtTO004Print
      end
      object lblTO106: TQRLabel
        Left = 402
        Top = 119
        Width = 38
        Height = 13
        AutoSize = False
        Caption = '星期'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = lblTO106Print
      end
      object lblCapTO112: TQRLabel
        Left = 444
        Top = 119
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '预计开工'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO112: ReportDBText
        Left = 490
        Top = 119
        Width = 58
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO112'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = txtTO004Print
      end
      object lblTO112: TQRLabel
        Left = 550
        Top = 119
        Width = 38
        Height = 13
        AutoSize = False
        Caption = '星期'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = lblTO112Print
      end
      object lblCapTO013: TQRLabel
        Left = 0
        Top = 134
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '实际开工'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO013: ReportDBText
        Left = 46
        Top = 134
        Width = 58
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO013'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = txtTO004Print
      end
      object lblTO013: TQRLabel
        Left = 106
        Top = 134
        Width = 38
        Height = 13
        AutoSize = False
        Caption = '星期'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = lblTO013Print
      end
      object lblCapTO007: TQRLabel
        Left = 148
        Top = 134
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '预计完工'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO007: ReportDBText
        Left = 194
        Top = 134
        Width = 58
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO007'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = txtTO004Print
      end
      object lblTO007: TQRLabel
        Left = 254
        Top = 134
        Width = 35
        Height = 13
        AutoSize = False
        Caption = '星期'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = lblTO007Print
      end
      object lblCapTO113: TQRLabel
        Left = 296
        Top = 134
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '实际开工'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO113: ReportDBText
        Left = 342
        Top = 134
        Width = 58
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO113'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = txtTO004Print
      end
      object lblTO113: TQRLabel
        Left = 402
        Top = 134
        Width = 38
        Height = 13
        AutoSize = False
        Caption = '星期'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = lblTO113Print
      end
      object lblCapTO107: TQRLabel
        Left = 444
        Top = 134
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '预计完工'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO107: ReportDBText
        Left = 490
        Top = 134
        Width = 58
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO107'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = txtTO004Print
      end
      object lblTO107: TQRLabel
        Left = 550
        Top = 134
        Width = 38
        Height = 13
        AutoSize = False
        Caption = '星期'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = lblTO107Print
      end
      object lblCapTO035: TQRLabel
        Left = 0
        Top = 149
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '预计产量'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO035: ReportDBText
        Left = 46
        Top = 149
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO035'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO036: TQRLabel
        Left = 148
        Top = 149
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '已生产量'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO036: ReportDBText
        Left = 194
        Top = 149
        Width = 95
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO036'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO135: TQRLabel
        Left = 296
        Top = 149
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '预计产量'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO135: ReportDBText
        Left = 342
        Top = 149
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO135'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO136: TQRLabel
        Left = 444
        Top = 149
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '已生产量'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO136: ReportDBText
        Left = 490
        Top = 149
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO136'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO017: TQRLabel
        Left = 0
        Top = 164
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '单位'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO017: ReportDBText
        Left = 46
        Top = 164
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO017'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO014: TQRLabel
        Left = 148
        Top = 164
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '性质'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO014: TQRDBIDText
        Left = 194
        Top = 164
        Width = 95
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO014'
        Font.Name = 'SimSun'
        Font.Size = 9
        Items.Strings = (
          '1=厂内工单'
          '2=委外工单')
      end
      object lblCapTO117: TQRLabel
        Left = 296
        Top = 164
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '单位'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO117: ReportDBText
        Left = 342
        Top = 164
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO117'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO114: TQRLabel
        Left = 444
        Top = 164
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '性质'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO114: TQRDBIDText
        Left = 490
        Top = 164
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO114'
        Font.Name = 'SimSun'
        Font.Size = 9
        Items.Strings = (
          '1=厂内工单'
          '2=委外工单')
      end
      object lblCapTO021: TQRLabel
        Left = 0
        Top = 179
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '厂别'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO021: ReportDBText
        Left = 46
        Top = 179
        Width = 30
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO021'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtCMSMB002A: ReportDBText
        Left = 78
        Top = 179
        Width = 66
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'CMSMB002A'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO022: TQRLabel
        Left = 148
        Top = 179
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '入库库别'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO022: ReportDBText
        Left = 194
        Top = 179
        Width = 30
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO022'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtCMSMC002A: ReportDBText
        Left = 226
        Top = 179
        Width = 63
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'CMSMC002A'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO121: TQRLabel
        Left = 296
        Top = 179
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '厂别'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO121: ReportDBText
        Left = 342
        Top = 179
        Width = 30
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO121'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtCMSMB002B: ReportDBText
        Left = 374
        Top = 179
        Width = 66
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'CMSMB002B'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO122: TQRLabel
        Left = 444
        Top = 179
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '入库库别'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO122: ReportDBText
        Left = 490
        Top = 179
        Width = 30
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO122'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtCMSMC002B: ReportDBText
        Left = 522
        Top = 179
        Width = 66
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'CMSMC002B'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO023: TQRLabel
        Left = 0
        Top = 194
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '生产线别'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO023: ReportDBText
        Left = 46
        Top = 194
        Width = 30
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO023'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtCMSMD002A: ReportDBText
        Left = 78
        Top = 194
        Width = 66
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'CMSMD002A'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO033: TQRLabel
        Left = 148
        Top = 194
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '加工厂商'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO033: ReportDBText
        Left = 194
        Top = 194
        Width = 30
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO033'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtPURMA002A: ReportDBText
        Left = 226
        Top = 194
        Width = 63
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA002A'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO123: TQRLabel
        Left = 296
        Top = 194
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '生产线别'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO123: ReportDBText
        Left = 342
        Top = 194
        Width = 30
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO123'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtCMSMD002B: ReportDBText
        Left = 374
        Top = 194
        Width = 66
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'CMSMD002B'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO133: TQRLabel
        Left = 444
        Top = 194
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '加工厂商'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO133: ReportDBText
        Left = 490
        Top = 194
        Width = 30
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO133'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtPURMA002B: ReportDBText
        Left = 522
        Top = 194
        Width = 66
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA002B'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO024: TQRLabel
        Left = 0
        Top = 209
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '单价'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO024: ReportDBText
        Left = 46
        Top = 209
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO024'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO025: TQRLabel
        Left = 148
        Top = 209
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '金额'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO025: ReportDBText
        Left = 194
        Top = 209
        Width = 95
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO025'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO124: TQRLabel
        Left = 296
        Top = 209
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '单价'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO124: ReportDBText
        Left = 342
        Top = 209
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO124'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO125: TQRLabel
        Left = 444
        Top = 209
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '金额'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO125: ReportDBText
        Left = 490
        Top = 209
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO125'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO032: TQRLabel
        Left = 0
        Top = 224
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '状态码'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO032: TQRDBIDText
        Left = 46
        Top = 224
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO032'
        Font.Name = 'SimSun'
        Font.Size = 9
        Items.Strings = (
          '1=未生产'
          '2=已发料'
          '3=生产中'
          'Y=已完工'
          'y=指定完工')
      end
      object lblCapTO047: TQRLabel
        Left = 148
        Top = 224
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '加工单价'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO047: ReportDBText
        Left = 194
        Top = 224
        Width = 95
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO047'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO132: TQRLabel
        Left = 296
        Top = 224
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '状态码'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO132: TQRDBIDText
        Left = 342
        Top = 224
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO132'
        Font.Name = 'SimSun'
        Font.Size = 9
        Items.Strings = (
          '1=未生产'
          '2=已发料'
          '3=生产中'
          'Y=已完工'
          'y=指定完工')
      end
      object lblCapTO147: TQRLabel
        Left = 444
        Top = 224
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '加工单价'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO147: ReportDBText
        Left = 490
        Top = 224
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO147'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO045: TQRLabel
        Left = 0
        Top = 239
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '加工数量'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO045: ReportDBText
        Left = 46
        Top = 239
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO045'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO046: TQRLabel
        Left = 148
        Top = 239
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '加工金额'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO046: ReportDBText
        Left = 194
        Top = 239
        Width = 95
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO046'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO145: TQRLabel
        Left = 296
        Top = 239
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '加工数量'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO145: ReportDBText
        Left = 342
        Top = 239
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO145'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO146: TQRLabel
        Left = 444
        Top = 239
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '加工金额'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO146: ReportDBText
        Left = 490
        Top = 239
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO146'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO054: TQRLabel
        Left = 0
        Top = 254
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '紧急码'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO054: TQRDBIDText
        Left = 46
        Top = 254
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO054'
        Font.Name = 'SimSun'
        Font.Size = 9
        Items.Strings = (
          'Y=紧急'
          'N=一般')
      end
      object lblCapTO031: TQRLabel
        Left = 148
        Top = 254
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '计划批号'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO031: ReportDBText
        Left = 194
        Top = 254
        Width = 95
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO031'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO154: TQRLabel
        Left = 296
        Top = 254
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '紧急码'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO154: TQRDBIDText
        Left = 342
        Top = 254
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO154'
        Font.Name = 'SimSun'
        Font.Size = 9
        Items.Strings = (
          'Y=紧急'
          'N=一般')
      end
      object lblCapTO131: TQRLabel
        Left = 444
        Top = 254
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '计划批号'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO131: ReportDBText
        Left = 490
        Top = 254
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO131'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO026T: TQRLabel
        Left = 0
        Top = 269
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '工单单号'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO026T: ReportDBText
        Left = 46
        Top = 269
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO026T'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO028T: TQRLabel
        Left = 148
        Top = 269
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '订单单号'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO028T: ReportDBText
        Left = 194
        Top = 269
        Width = 95
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO028T'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO126T: TQRLabel
        Left = 296
        Top = 269
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '工单单号'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO126T: ReportDBText
        Left = 342
        Top = 269
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO126T'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO128T: TQRLabel
        Left = 444
        Top = 269
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '订单单号'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO128T: ReportDBText
        Left = 490
        Top = 269
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO128T'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapCOPTC004A: TQRLabel
        Left = 0
        Top = 284
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '客户'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtCOPTC004A: ReportDBText
        Left = 46
        Top = 284
        Width = 30
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'COPTC004A'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtCOPMA002A: ReportDBText
        Left = 78
        Top = 284
        Width = 66
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'COPMA002A'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapCOPTC012A: TQRLabel
        Left = 148
        Top = 284
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '客户单号'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtCOPTC012A: ReportDBText
        Left = 194
        Top = 284
        Width = 95
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'COPTC012A'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapCOPTC004B: TQRLabel
        Left = 296
        Top = 284
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '客户'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtCOPTC004B: ReportDBText
        Left = 342
        Top = 284
        Width = 30
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'COPTC004B'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtCOPMA002B: ReportDBText
        Left = 374
        Top = 284
        Width = 66
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'COPMA002B'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapCOPTC012B: TQRLabel
        Left = 444
        Top = 284
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '客户单号'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtCOPTC012B: ReportDBText
        Left = 490
        Top = 284
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'COPTC012B'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapCOPTD014A: TQRLabel
        Left = 0
        Top = 299
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '客户品号'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtCOPTD014A: ReportDBText
        Left = 46
        Top = 299
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'COPTD014A'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO057: TQRLabel
        Left = 148
        Top = 299
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '人工工时'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO057: ReportDBText
        Left = 194
        Top = 299
        Width = 95
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO057'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapCOPTD014B: TQRLabel
        Left = 296
        Top = 299
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '客户品号'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtCOPTD014B: ReportDBText
        Left = 342
        Top = 299
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'COPTD014B'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO157: TQRLabel
        Left = 444
        Top = 299
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '人工工时'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO157: ReportDBText
        Left = 490
        Top = 299
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO157'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO058: TQRLabel
        Left = 0
        Top = 314
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '机器工时'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO058: ReportDBText
        Left = 46
        Top = 314
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO058'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblCapTO158: TQRLabel
        Left = 296
        Top = 314
        Width = 44
        Height = 13
        AutoSize = False
        Caption = '机器工时'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO158: ReportDBText
        Left = 342
        Top = 314
        Width = 98
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO158'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblTO051: TQRLabel
        Left = 0
        Top = 329
        Width = 62
        Height = 13
        AutoSize = False
        Caption = '包装单位:'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO051: ReportDBText
        Left = 64
        Top = 329
        Width = 80
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO051'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblTO048: TQRLabel
        Left = 148
        Top = 329
        Width = 62
        Height = 13
        AutoSize = False
        Caption = '预计产包装量:'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO048: ReportDBText
        Left = 212
        Top = 329
        Width = 77
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO048'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblTO151: TQRLabel
        Left = 296
        Top = 329
        Width = 62
        Height = 13
        AutoSize = False
        Caption = '包装单位:'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO151: ReportDBText
        Left = 360
        Top = 329
        Width = 80
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO151'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object lblTO148: TQRLabel
        Left = 444
        Top = 329
        Width = 62
        Height = 13
        AutoSize = False
        Caption = '预计产包装量:'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object txtTO148: ReportDBText
        Left = 508
        Top = 329
        Width = 80
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO148'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object shpLinesTop: TQRShape
        Left = 0
        Top = 346
        Width = 592
        Height = 4
        Shape = qrsHorLine
      end
      object lblCapSeq: TQRLabel
        Left = 0
        Top = 352
        Width = 24
        Height = 13
        AutoSize = False
        Caption = '项次'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapMemo: TQRLabel
        Left = 566
        Top = 352
        Width = 26
        Height = 13
        AutoSize = False
        Caption = '说明'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP004: TQRLabel
        Left = 26
        Top = 352
        Width = 62
        Height = 13
        AutoSize = False
        Caption = '品号'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP005: TQRLabel
        Left = 90
        Top = 352
        Width = 84
        Height = 13
        AutoSize = False
        Caption = '品名'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP006: TQRLabel
        Left = 176
        Top = 352
        Width = 116
        Height = 13
        AutoSize = False
        Caption = '规格'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP007: TQRLabel
        Left = 26
        Top = 366
        Width = 26
        Height = 13
        AutoSize = False
        Caption = '工艺'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP008: TQRLabel
        Left = 54
        Top = 366
        Width = 38
        Height = 13
        AutoSize = False
        Caption = '需领用量'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP013: TQRLabel
        Left = 96
        Top = 366
        Width = 32
        Height = 13
        AutoSize = False
        Caption = '已领量'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP010: TQRLabel
        Left = 134
        Top = 366
        Width = 62
        Height = 13
        AutoSize = False
        Caption = '库别'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP012: TQRLabel
        Left = 198
        Top = 366
        Width = 40
        Height = 13
        AutoSize = False
        Caption = '材料型态'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP014: TQRLabel
        Left = 240
        Top = 366
        Width = 20
        Height = 13
        AutoSize = False
        Caption = '单位'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP018: TQRLabel
        Left = 262
        Top = 366
        Width = 30
        Height = 13
        AutoSize = False
        Caption = '备注'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP104: TQRLabel
        Left = 298
        Top = 352
        Width = 62
        Height = 13
        AutoSize = False
        Caption = '品号'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP105: TQRLabel
        Left = 362
        Top = 352
        Width = 84
        Height = 13
        AutoSize = False
        Caption = '品名'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP106: TQRLabel
        Left = 448
        Top = 352
        Width = 116
        Height = 13
        AutoSize = False
        Caption = '规格'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP107: TQRLabel
        Left = 298
        Top = 366
        Width = 26
        Height = 13
        AutoSize = False
        Caption = '工艺'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP108: TQRLabel
        Left = 326
        Top = 366
        Width = 38
        Height = 13
        AutoSize = False
        Caption = '需领用量'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP113: TQRLabel
        Left = 368
        Top = 366
        Width = 32
        Height = 13
        AutoSize = False
        Caption = '已领量'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP110: TQRLabel
        Left = 406
        Top = 366
        Width = 62
        Height = 13
        AutoSize = False
        Caption = '库别'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP112: TQRLabel
        Left = 470
        Top = 366
        Width = 40
        Height = 13
        AutoSize = False
        Caption = '材料型态'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP114: TQRLabel
        Left = 512
        Top = 366
        Width = 20
        Height = 13
        AutoSize = False
        Caption = '单位'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object lblCapTP118: TQRLabel
        Left = 534
        Top = 366
        Width = 30
        Height = 13
        AutoSize = False
        Caption = '备注'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      object shpLinesCaption: TQRShape
        Left = 0
        Top = 380
        Width = 592
        Height = 4
        Shape = qrsHorLine
      end
      object shpCaptionHalves: TQRShape
        Left = 292
        Top = 348
        Width = 4
        Height = 34
        Shape = qrsVertLine
      end
      object txtCOPMG005A: ReportDBText
        Left = 620
        Top = 4
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'COPMG005A'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtCOPMG005B: ReportDBText
        Left = 684
        Top = 4
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'COPMG005B'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtCOPMG006A: ReportDBText
        Left = 748
        Top = 4
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'COPMG006A'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtCOPMG006B: ReportDBText
        Left = 812
        Top = 4
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'COPMG006B'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF01M: ReportDBText
        Left = 620
        Top = 18
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF01M'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF02M: ReportDBText
        Left = 684
        Top = 18
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF02M'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF03M: ReportDBText
        Left = 748
        Top = 18
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF03M'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF04M: ReportDBText
        Left = 812
        Top = 18
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF04M'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF05M: ReportDBText
        Left = 620
        Top = 32
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF05M'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF06M: ReportDBText
        Left = 684
        Top = 32
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF06M'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF51M: ReportDBText
        Left = 748
        Top = 32
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF51M'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF52M: ReportDBText
        Left = 812
        Top = 32
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF52M'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF53M: ReportDBText
        Left = 620
        Top = 46
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF53M'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF54M: ReportDBText
        Left = 684
        Top = 46
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF54M'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF55M: ReportDBText
        Left = 748
        Top = 46
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF55M'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF56M: ReportDBText
        Left = 812
        Top = 46
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF56M'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO069: ReportDBText
        Left = 620
        Top = 60
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO069'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO070: ReportDBText
        Left = 684
        Top = 60
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO070'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTO070Print
      end
      object txtTO069C: ReportDBText
        Left = 748
        Top = 60
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO069C'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO169: ReportDBText
        Left = 812
        Top = 60
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO169'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO170: ReportDBText
        Left = 620
        Top = 74
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO170'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTO170Print
      end
      object txtTO169C: ReportDBText
        Left = 684
        Top = 74
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO169C'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO062: ReportDBText
        Left = 748
        Top = 74
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO062'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO162: ReportDBText
        Left = 812
        Top = 74
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO162'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO086: ReportDBText
        Left = 620
        Top = 88
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO086'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO186: ReportDBText
        Left = 684
        Top = 88
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO186'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO015: ReportDBText
        Left = 748
        Top = 88
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO015'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTO004Print
      end
      object txtTO115: ReportDBText
        Left = 812
        Top = 88
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO115'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTO004Print
      end
      object txtTO016: ReportDBText
        Left = 620
        Top = 102
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO016'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTO004Print
      end
      object txtTO116: ReportDBText
        Left = 684
        Top = 102
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO116'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTO004Print
      end
      object txtTO018: ReportDBText
        Left = 748
        Top = 102
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO018'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO118: ReportDBText
        Left = 812
        Top = 102
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO118'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO019: ReportDBText
        Left = 620
        Top = 116
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO019'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO119: ReportDBText
        Left = 684
        Top = 116
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO119'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO020: ReportDBText
        Left = 748
        Top = 116
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO020'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO120: ReportDBText
        Left = 812
        Top = 116
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO120'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO043: ReportDBText
        Left = 620
        Top = 130
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO043'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTO004Print
      end
      object txtTO052: TQRDBIDText
        Left = 684
        Top = 130
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO052'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          'Y=是'
          'N=否')
      end
      object txtTO034: ReportDBText
        Left = 748
        Top = 130
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO034'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO134: ReportDBText
        Left = 812
        Top = 130
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO134'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO044: ReportDBText
        Left = 620
        Top = 144
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO044'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO037: TQRDBIDText
        Left = 684
        Top = 144
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO037'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          'Y=是'
          'N=否')
      end
      object txtTO038: TQRDBIDText
        Left = 748
        Top = 144
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO038'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          'Y=是'
          'N=否')
      end
      object txtTO039: TQRDBIDText
        Left = 812
        Top = 144
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO039'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          'Y=是'
          'N=否')
      end
      object txtTO040: TQRDBIDText
        Left = 620
        Top = 158
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO040'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          'Y=是'
          'N=否')
      end
      object txtTO137: TQRDBIDText
        Left = 684
        Top = 158
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO137'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          'Y=是'
          'N=否')
      end
      object txtTO138: TQRDBIDText
        Left = 748
        Top = 158
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO138'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          'Y=是'
          'N=否')
      end
      object txtTO139: TQRDBIDText
        Left = 812
        Top = 158
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO139'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          'Y=是'
          'N=否')
      end
      object txtTO140: TQRDBIDText
        Left = 620
        Top = 172
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO140'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          'Y=是'
          'N=否')
      end
      object txtTO049: ReportDBText
        Left = 684
        Top = 172
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO049'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO149: ReportDBText
        Left = 748
        Top = 172
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO149'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO050: ReportDBText
        Left = 812
        Top = 172
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO050'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO150: ReportDBText
        Left = 620
        Top = 186
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO150'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO055: ReportDBText
        Left = 684
        Top = 186
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO055'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO155: ReportDBText
        Left = 748
        Top = 186
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO155'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO056: ReportDBText
        Left = 812
        Top = 186
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO056'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO156: ReportDBText
        Left = 620
        Top = 200
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO156'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO059: ReportDBText
        Left = 684
        Top = 200
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO059'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO159: ReportDBText
        Left = 748
        Top = 200
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO159'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO060: ReportDBText
        Left = 812
        Top = 200
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO060'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO160: ReportDBText
        Left = 620
        Top = 214
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO160'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO061: ReportDBText
        Left = 684
        Top = 214
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO061'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO161: ReportDBText
        Left = 748
        Top = 214
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO161'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO071: ReportDBText
        Left = 812
        Top = 214
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO071'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO171: ReportDBText
        Left = 620
        Top = 228
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO171'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO072: ReportDBText
        Left = 684
        Top = 228
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO072'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTO172: ReportDBText
        Left = 748
        Top = 228
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO172'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTOC01: TQRDBIDText
        Left = 812
        Top = 228
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TOC01'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          'Y=是'
          'N=否')
      end
      object txtTOC02: TQRDBIDText
        Left = 620
        Top = 242
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TOC02'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          'Y=是'
          'N=否')
      end
      object txtPURMA008A: ReportDBText
        Left = 684
        Top = 242
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA008A'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtPURMA008B: ReportDBText
        Left = 748
        Top = 242
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA008B'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtPURMA010A: ReportDBText
        Left = 812
        Top = 242
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA010A'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtPURMA010B: ReportDBText
        Left = 620
        Top = 256
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA010B'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtPURMA013A: ReportDBText
        Left = 684
        Top = 256
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA013A'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtPURMA013B: ReportDBText
        Left = 748
        Top = 256
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA013B'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtPURMA014A: ReportDBText
        Left = 812
        Top = 256
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA014A'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtPURMA014B: ReportDBText
        Left = 620
        Top = 270
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA014B'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtPURMA015A: ReportDBText
        Left = 684
        Top = 270
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA015A'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtPURMA015B: ReportDBText
        Left = 748
        Top = 270
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA015B'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtPURMA046A: ReportDBText
        Left = 812
        Top = 270
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA046A'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtPURMA046B: ReportDBText
        Left = 620
        Top = 284
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'PURMA046B'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtCREATOR: ReportDBText
        Left = 684
        Top = 284
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'CREATOR'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtMF002X: ReportDBText
        Left = 748
        Top = 284
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'MF002X'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtMF002Y: ReportDBText
        Left = 812
        Top = 284
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'MF002Y'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
    end
    inherited QRDetailBand: TQRBand
      Height = 34
      inherited lblSeq: TQRLabel
        Left = 0
        Top = 2
        Width = 24
        Height = 13
        AutoSize = False
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP004: ReportDBText
        Left = 26
        Top = 2
        Width = 62
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP004'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP004Print
      end
      object txtTP005: ReportDBText
        Left = 90
        Top = 2
        Width = 84
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP005'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP005Print
      end
      object txtTP006: ReportDBText
        Left = 176
        Top = 2
        Width = 116
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP006'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP006Print
      end
      object txtTP007: ReportDBText
        Left = 26
        Top = 17
        Width = 26
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP007'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP007Print
      end
      object txtTP008: ReportDBText
        Left = 54
        Top = 17
        Width = 38
        Height = 13
        AutoSize = False
        Alignment = taRightJustify
        DataSet = 'ClientDataSet1'
        DataField = 'TP008'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP008Print
      end
      object txtTP013: ReportDBText
        Left = 96
        Top = 17
        Width = 32
        Height = 13
        AutoSize = False
        Alignment = taRightJustify
        DataSet = 'ClientDataSet1'
        DataField = 'TP013'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP013Print
      end
      object txtTP010: ReportDBText
        Left = 134
        Top = 17
        Width = 20
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP010'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP010Print
      end
      object txtCMSMC002C: ReportDBText
        Left = 156
        Top = 17
        Width = 40
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'CMSMC002C'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtCMSMC002CPrint
      end
      object txtTP012: TQRDBIDText
        Left = 198
        Top = 17
        Width = 40
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP012'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          '1=直接材料'
          '2=间接材料'
          '3=不发料'
          '4=客供料'
          '5=替代料')
        OnPrint = txtTP012Print
      end
      object txtTP014: ReportDBText
        Left = 240
        Top = 17
        Width = 20
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP014'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP014Print
      end
      object txtTP018: ReportDBText
        Left = 262
        Top = 17
        Width = 30
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP018'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP018Print
      end
      object txtTP104: ReportDBText
        Left = 298
        Top = 2
        Width = 62
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP104'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP105: ReportDBText
        Left = 362
        Top = 2
        Width = 84
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP105'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP106: ReportDBText
        Left = 448
        Top = 2
        Width = 116
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP106'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP107: ReportDBText
        Left = 298
        Top = 17
        Width = 26
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP107'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP108: ReportDBText
        Left = 326
        Top = 17
        Width = 38
        Height = 13
        AutoSize = False
        Alignment = taRightJustify
        DataSet = 'ClientDataSet1'
        DataField = 'TP108'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP113: ReportDBText
        Left = 368
        Top = 17
        Width = 32
        Height = 13
        AutoSize = False
        Alignment = taRightJustify
        DataSet = 'ClientDataSet1'
        DataField = 'TP113'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP110: ReportDBText
        Left = 406
        Top = 17
        Width = 20
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP110'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtCMSMC002D: ReportDBText
        Left = 428
        Top = 17
        Width = 40
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'CMSMC002D'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP112: TQRDBIDText
        Left = 470
        Top = 17
        Width = 40
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP112'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          '1=直接材料'
          '2=间接材料'
          '3=不发料'
          '4=客供料'
          '5=替代料')
      end
      object txtTP114: ReportDBText
        Left = 512
        Top = 17
        Width = 20
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP114'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP118: ReportDBText
        Left = 534
        Top = 17
        Width = 30
        Height = 13
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP118'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object lblMemo: TQRLabel
        Left = 566
        Top = 2
        Width = 26
        Height = 13
        AutoSize = False
        Caption = '备注'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Style = [fsBold]
        OnPrint = lblMemoPrint
      end
      object shpLineBottom: TQRShape
        Left = 0
        Top = 31
        Width = 592
        Height = 2
        Shape = qrsHorLine
      end
      object shpLineHalves: TQRShape
        Left = 292
        Top = 0
        Width = 4
        Height = 32
        Shape = qrsVertLine
      end
      object txtTP011: ReportDBText
        Left = 620
        Top = 0
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP011'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP111: ReportDBText
        Left = 684
        Top = 0
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP111'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF01D: ReportDBText
        Left = 748
        Top = 0
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF01D'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF02D: ReportDBText
        Left = 812
        Top = 0
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF02D'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF03D: ReportDBText
        Left = 876
        Top = 0
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF03D'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF04D: ReportDBText
        Left = 940
        Top = 0
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF04D'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF05D: ReportDBText
        Left = 1004
        Top = 0
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF05D'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF06D: ReportDBText
        Left = 1068
        Top = 0
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF06D'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF51D: ReportDBText
        Left = 620
        Top = 14
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF51D'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF52D: ReportDBText
        Left = 684
        Top = 14
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF52D'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF53D: ReportDBText
        Left = 748
        Top = 14
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF53D'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF54D: ReportDBText
        Left = 812
        Top = 14
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF54D'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF55D: ReportDBText
        Left = 876
        Top = 14
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF55D'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtUDF56D: ReportDBText
        Left = 940
        Top = 14
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'UDF56D'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP015: ReportDBText
        Left = 1004
        Top = 14
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP015'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP115: ReportDBText
        Left = 1068
        Top = 14
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP115'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP016: ReportDBText
        Left = 620
        Top = 28
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP016'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP016Print
      end
      object txtTP116: ReportDBText
        Left = 684
        Top = 28
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP116'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP016Print
      end
      object txtTP017: ReportDBText
        Left = 748
        Top = 28
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP017'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP016Print
      end
      object txtTP117: ReportDBText
        Left = 812
        Top = 28
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP117'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP016Print
      end
      object txtTP020: ReportDBText
        Left = 876
        Top = 28
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP020'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP005Print
      end
      object txtTP120: ReportDBText
        Left = 940
        Top = 28
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP120'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP005Print
      end
      object txtTP021: ReportDBText
        Left = 1004
        Top = 28
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP021'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP005Print
      end
      object txtTP121: ReportDBText
        Left = 1068
        Top = 28
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP121'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP005Print
      end
      object txtTP022: ReportDBText
        Left = 620
        Top = 42
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP022'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP008Print
      end
      object txtTP122: ReportDBText
        Left = 684
        Top = 42
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP122'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP026: ReportDBText
        Left = 748
        Top = 42
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP026'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP005Print
      end
      object txtTP126: ReportDBText
        Left = 812
        Top = 42
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP126'
        Font.Name = 'SimSun'
        Font.Size = 8
        OnPrint = txtTP006Print
      end
      object txtTP030: ReportDBText
        Left = 876
        Top = 42
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP030'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP130: ReportDBText
        Left = 940
        Top = 42
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP130'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP031: ReportDBText
        Left = 1004
        Top = 42
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP031'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP131: ReportDBText
        Left = 1068
        Top = 42
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP131'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP032: ReportDBText
        Left = 620
        Top = 56
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP032'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTP132: ReportDBText
        Left = 684
        Top = 56
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TP132'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtTPC01: TQRDBIDText
        Left = 748
        Top = 56
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TPC01'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          'Y=是'
          'N=否')
      end
      object txtTPC02: TQRDBIDText
        Left = 812
        Top = 56
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'TPC02'
        Font.Name = 'SimSun'
        Font.Size = 8
        Items.Strings = (
          'Y=是'
          'N=否')
      end
      object txtCMSMW002: ReportDBText
        Left = 876
        Top = 56
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'CMSMW002'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object txtCMSMW002T: ReportDBText
        Left = 940
        Top = 56
        Width = 60
        Height = 13
        AutoSize = False
        Enabled = False
        DataSet = 'ClientDataSet1'
        DataField = 'CMSMW002T'
        Font.Name = 'SimSun'
        Font.Size = 8
      end
    end
    inherited QRGroupFooter: TQRBand
      Height = 306
      inherited lblNoData: TQRLabel
        Left = 26
        Top = 4
        Width = 80
        Height = 13
        AutoSize = False
        Font.Name = 'SimSun'
        Font.Size = 8
      end
    end
    inherited GroupFooterChildBand: TQRChildBand
      Height = 80
      object shpSignTop: TQRShape
        Left = 0
        Top = 0
        Width = 592
        Height = 4
        Shape = qrsHorLine
      end
      inherited lblNote1: TQRLabel
        Left = 0
        Top = 6
        Width = 290
        Height = 13
        AutoSize = False
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      inherited lblSignIn1: TQRLabel
        Left = 296
        Top = 6
        Width = 296
        Height = 13
        AutoSize = False
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      inherited lblNote2: TQRLabel
        Left = 0
        Top = 20
        Width = 290
        Height = 13
        AutoSize = False
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      inherited lblSignIn2: TQRLabel
        Left = 296
        Top = 20
        Width = 296
        Height = 13
        AutoSize = False
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      inherited lblNote3: TQRLabel
        Left = 0
        Top = 34
        Width = 290
        Height = 13
        AutoSize = False
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      inherited lblSignIn3: TQRLabel
        Left = 296
        Top = 34
        Width = 296
        Height = 13
        AutoSize = False
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      object lblCapCreateDate2: TQRLabel
        Left = 0
        Top = 60
        Width = 48
        Height = 13
        AutoSize = False
        Caption = '制表日期:'
        Font.Name = 'SimSun'
        Font.Size = 8
        Font.Color = clGray
      end
      inherited lblCreateDate2: TQRLabel
        Left = 48
        Top = 60
        Width = 80
        Height = 13
        AutoSize = False
        Font.Name = 'SimSun'
        Font.Size = 8
      end
      inherited lblNextPage: TQRLabel
        Left = 512
        Top = 60
        Width = 80
        Height = 13
        AutoSize = False
        Alignment = taRightJustify
        Font.Name = 'SimSun'
        Font.Size = 8
      end
    end
  end
end
