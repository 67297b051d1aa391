object frmSample: TfrmSample
  Left = 200
  Top = 120
  Caption = #24037#21333#21464#26356#21333
  ClientHeight = 300
  ClientWidth = 460
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'SimSun'
  Font.Style = []
  KeyPreview = True
  OnKeyDown = FormKeyDown
  OnCloseQuery = FormCloseQuery
  object lblCode: TLabel
    Left = 16
    Top = 20
    Caption = #21333#21495':'
    FocusControl = edCode
  end
  object edCode: TEdit
    Left = 80
    Top = 16
    Width = 121
    Height = 21
    Hint = #35831#36755#20837#21333#21495
    ShowHint = True
    TabOrder = 0
    Text = 'MO-0001'
    OnExit = edCodeExit
  end
  object cbType: TComboBox
    Left = 80
    Top = 44
    Width = 145
    Height = 21
    Style = csDropDownList
    ItemIndex = 1
    TabOrder = 1
    Items.Strings = (
      #24037#21333
      #21464#26356#21333
      'Other')
  end
  object gbOptions: TGroupBox
    Left = 240
    Top = 12
    Width = 200
    Height = 90
    Caption = #36873#39033
    TabOrder = 2
    object chkPrice: TCheckBox
      Left = 12
      Top = 22
      Width = 150
      Height = 17
      Caption = #25171#21360#21333#20215
      State = cbChecked
      TabOrder = 0
    end
    object edNote: TEdit
      Left = 12
      Top = 50
      Width = 150
      Height = 21
      TabOrder = 1
    end
  end
  object btnOK: TButton
    Left = 280
    Top = 260
    Width = 75
    Height = 25
    Caption = #30830#23450
    Default = True
    TabOrder = 3
    OnClick = btnOKClick
  end
  object btnCancel: TButton
    Left = 365
    Top = 260
    Width = 75
    Height = 25
    Cancel = True
    Caption = #21462#28040
    ModalResult = mrCancel
    TabOrder = 4
    OnClick = btnCancelClick
  end
end
