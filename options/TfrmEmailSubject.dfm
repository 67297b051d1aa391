object frmEmailSubject: TfrmEmailSubject
  Left = 320
  Top = 240
  BorderStyle = bsDialog
  Caption = #37038#20214#20027#39064
  ClientHeight = 84
  ClientWidth = 392
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'SimSun'
  Font.Style = []
  Position = poScreenCenter
  object lblSubject: TLabel
    Left = 8
    Top = 16
    Caption = #20027#39064':'
    FocusControl = edtSubject
  end
  object edtSubject: TEdit
    Left = 48
    Top = 12
    Width = 336
    Height = 22
    TabOrder = 0
  end
  object BitBtn1: TBitBtn
    Left = 228
    Top = 48
    Width = 75
    Height = 25
    Caption = #30830#23450
    Default = True
    Kind = bkOK
    ModalResult = 1
    TabOrder = 1
  end
  object BitBtn2: TBitBtn
    Left = 309
    Top = 48
    Width = 75
    Height = 25
    Caption = #21462#28040
    Cancel = True
    Kind = bkCancel
    ModalResult = 2
    TabOrder = 2
  end
end
