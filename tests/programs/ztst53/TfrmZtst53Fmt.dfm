inherited frmZtst53Fmt: TfrmZtst53Fmt
  Caption = 'Change slip header'
  inherited QuickRep1: TQuickRep
    ReportTitle = 'Change slip headers'
    inherited QRGroup: TQRGroup
      Height = 120
      Expression = 'ClientDataSet1.TO001+ClientDataSet1.TO002+ClientDataSet1.TO003'
      object lblCapSlip: TQRLabel
        Left = 0
        Top = 90
        Width = 60
        Height = 14
        Caption = 'Slip:'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtTO001: ReportDBText
        Left = 64
        Top = 90
        Width = 40
        Height = 14
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO001'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtTO002: ReportDBText
        Left = 108
        Top = 90
        Width = 100
        Height = 14
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO002'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtTO003: ReportDBText
        Left = 212
        Top = 90
        Width = 40
        Height = 14
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO003'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
    end
    inherited QRDetailBand: TQRBand
      object lblCapTO004: TQRLabel
        Left = 40
        Top = 2
        Width = 80
        Height = 14
        Caption = 'Changed on'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtTO004: ReportDBText
        Left = 124
        Top = 2
        Width = 90
        Height = 14
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO004'
        Font.Name = 'SimSun'
        Font.Size = 9
        OnPrint = txtTO004Print
      end
      object lblCapTO021: TQRLabel
        Left = 230
        Top = 2
        Width = 60
        Height = 14
        Caption = 'Factory'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
      object txtTO021: ReportDBText
        Left = 294
        Top = 2
        Width = 60
        Height = 14
        AutoSize = False
        DataSet = 'ClientDataSet1'
        DataField = 'TO021'
        Font.Name = 'SimSun'
        Font.Size = 9
      end
    end
  end
end
