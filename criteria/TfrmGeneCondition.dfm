object frmGeneCondition: TfrmGeneCondition
  Left = 300
  Top = 200
  BorderStyle = bsDialog
  Caption = 'frmGeneCondition'
  ClientHeight = 292
  ClientWidth = 360
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = #23435#20307
  Font.Style = []
  KeyPreview = True
  Position = poScreenCenter
  OnKeyDown = FormKeyDown
  object lblConName: TLabel
    Left = 12
    Top = 15
    Width = 39
    Height = 13
    Caption = #26041#26696#21517
    FocusControl = edConName
  end
  object edConName: TEdit
    Left = 64
    Top = 11
    Width = 284
    Height = 21
    MaxLength = 20
    TabOrder = 0
  end
  object gbDateFields: TGroupBox
    Left = 8
    Top = 42
    Width = 344
    Height = 200
    Caption = #26085#26399#23383#27573
    TabOrder = 1
    object cbodatecondition: TComboBox
      Left = 12
      Top = 22
      Width = 320
      Height = 21
      Style = csDropDownList
      TabOrder = 0
      OnChange = cbodateconditionChange
    end
    object lblAnchor: TLabel
      Left = 12
      Top = 52
      Width = 65
      Height = 13
      Caption = #39044#23450#36816#34892#26085
    end
    object pnEdit: TPanel
      Left = 12
      Top = 70
      Width = 320
      Height = 120
      BevelOuter = bvNone
      Caption = ' '
      TabOrder = 1
      object edSetDate: TCheckBox
        Left = 0
        Top = 4
        Width = 120
        Height = 17
        Caption = #21464#21160#26085#26399
        TabOrder = 0
        OnClick = RuleClick
      end
      object seSetDay1: TSpinEdit
        Left = 0
        Top = 28
        Width = 60
        Height = 22
        MaxValue = 99
        MinValue = -99
        TabOrder = 1
        OnChange = RuleChange
      end
      object cboSetDay1: TComboBox
        Left = 66
        Top = 28
        Width = 56
        Height = 21
        Style = csDropDownList
        TabOrder = 2
        OnChange = RuleChange
        Items.Strings = (
          #21608
          #26376)
      end
      object cboSetDay2: TComboBox
        Left = 128
        Top = 28
        Width = 100
        Height = 21
        Style = csDropDownList
        TabOrder = 3
        OnChange = RuleChange
        Items.Strings = (
          #21152'/'#20943
          #31532#19968#22825
          #26368#21518#19968#22825)
      end
      object seSetDay2: TSpinEdit
        Left = 234
        Top = 28
        Width = 70
        Height = 22
        MaxValue = 999
        MinValue = -999
        TabOrder = 4
        OnChange = RuleChange
      end
    end
    object pnSp: TPanel
      Left = 12
      Top = 70
      Width = 320
      Height = 120
      BevelOuter = bvNone
      Caption = ' '
      TabOrder = 2
      object spDate_B: TCheckBox
        Left = 0
        Top = 4
        Width = 120
        Height = 17
        Caption = #36215#22987#26085#26399
        TabOrder = 0
        OnClick = RuleClick
      end
      object seSetDay_B1: TSpinEdit
        Left = 0
        Top = 26
        Width = 60
        Height = 22
        MaxValue = 99
        MinValue = -99
        TabOrder = 1
        OnChange = RuleChange
      end
      object cboSetDay_B1: TComboBox
        Left = 66
        Top = 26
        Width = 56
        Height = 21
        Style = csDropDownList
        TabOrder = 2
        OnChange = RuleChange
        Items.Strings = (
          #21608
          #26376)
      end
      object cboSetDay_B2: TComboBox
        Left = 128
        Top = 26
        Width = 100
        Height = 21
        Style = csDropDownList
        TabOrder = 3
        OnChange = RuleChange
        Items.Strings = (
          #21152'/'#20943
          #31532#19968#22825
          #26368#21518#19968#22825)
      end
      object seSetDay_B2: TSpinEdit
        Left = 234
        Top = 26
        Width = 70
        Height = 22
        MaxValue = 999
        MinValue = -999
        TabOrder = 4
        OnChange = RuleChange
      end
      object spDate_E: TCheckBox
        Left = 0
        Top = 60
        Width = 120
        Height = 17
        Caption = #25130#27490#26085#26399
        TabOrder = 5
        OnClick = RuleClick
      end
      object seSetDay_E1: TSpinEdit
        Left = 0
        Top = 82
        Width = 60
        Height = 22
        MaxValue = 99
        MinValue = -99
        TabOrder = 6
        OnChange = RuleChange
      end
      object cboSetDay_E1: TComboBox
        Left = 66
        Top = 82
        Width = 56
        Height = 21
        Style = csDropDownList
        TabOrder = 7
        OnChange = RuleChange
        Items.Strings = (
          #21608
          #26376)
      end
      object cboSetDay_E2: TComboBox
        Left = 128
        Top = 82
        Width = 100
        Height = 21
        Style = csDropDownList
        TabOrder = 8
        OnChange = RuleChange
        Items.Strings = (
          #21152'/'#20943
          #31532#19968#22825
          #26368#21518#19968#22825)
      end
      object seSetDay_E2: TSpinEdit
        Left = 234
        Top = 82
        Width = 70
        Height = 22
        MaxValue = 999
        MinValue = -999
        TabOrder = 9
        OnChange = RuleChange
      end
    end
  end
  object btnOk: TButton
    Left = 190
    Top = 256
    Width = 75
    Height = 25
    Caption = #30830#23450
    Default = True
    TabOrder = 2
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 274
    Top = 256
    Width = 75
    Height = 25
    Cancel = True
    Caption = #21462#28040
    ModalResult = 2
    TabOrder = 3
  end
end
