object frmEmailSubject: TfrmEmailSubject
  Left = 300
  Top = 200
  Width = 380
  Height = 130
  BorderStyle = bsDialog
  Caption = 'E-Mail'
  Font.Charset = GB2312_CHARSET
  Font.Height = -13
  Font.Name = #23435#20307
  Position = poScreenCenter
  object lblSubject: TLabel
    Left = 12
    Top = 16
    Caption = '主题'
  end
  object edtSubject: TEdit
    Left = 52
    Top = 12
    Width = 304
    Height = 21
    TabOrder = 0
  end
  object BitBtn1: TBitBtn
    Left = 196
    Top = 52
    Width = 75
    Height = 25
    Caption = '确定'
    Default = True
    ModalResult = 1
    TabOrder = 1
    OnClick = BitBtn1Click
  end
  object BitBtn2: TBitBtn
    Left = 281
    Top = 52
    Width = 75
    Height = 25
    Cancel = True
    Caption = '取消'
    ModalResult = 2
    TabOrder = 2
  end
end
