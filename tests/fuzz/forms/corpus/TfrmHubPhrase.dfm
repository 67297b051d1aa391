object frmHubPhrase: TfrmHubPhrase
  Left = 300
  Top = 200
  BorderStyle = bsDialog
  Caption = #24120#29992#35789#32452
  ClientHeight = 300
  ClientWidth = 364
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'SimSun'
  Font.Style = []
  KeyPreview = True
  Position = poScreenCenter
  object lblPhrases: TLabel
    Left = 8
    Top = 8
    Caption = #25105#30340#24120#29992#35789#32452':'
    FocusControl = lstPhrases
  end
  object lstPhrases: TListBox
    Left = 8
    Top = 26
    Width = 262
    Height = 228
    TabOrder = 0
  end
  object btnOK: TButton
    Left = 280
    Top = 26
    Width = 75
    Height = 25
    Caption = #30830#23450
    Default = True
    TabOrder = 1
  end
  object btnCancel: TButton
    Left = 280
    Top = 57
    Width = 75
    Height = 25
    Cancel = True
    Caption = #21462#28040
    ModalResult = mrCancel
    TabOrder = 2
  end
  object btnDelete: TButton
    Left = 280
    Top = 229
    Width = 75
    Height = 25
    Caption = #21024#38500'(&D)'
    TabOrder = 3
  end
  object edNew: TEdit
    Left = 8
    Top = 266
    Width = 262
    Height = 22
    Hint = #36755#20837#26032#30340#35789#32452#21518#25353#26032#22686
    ShowHint = True
    TabOrder = 4
  end
  object btnAdd: TButton
    Left = 280
    Top = 264
    Width = 75
    Height = 25
    Caption = #26032#22686'(&N)'
    TabOrder = 5
  end
end
