object frmVRConvPic: TfrmVRConvPic
  Left = 400
  Top = 300
  BorderStyle = bsDialog
  Caption = #36716#22270#26723#20013
  ClientHeight = 92
  ClientWidth = 320
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'SimSun'
  Font.Style = []
  FormStyle = fsStayOnTop
  Position = poScreenCenter
  object Label1: TLabel
    Left = 12
    Top = 14
    Width = 60
    Height = 12
    Caption = #24403#21069#39029#25968':'
  end
  object lblState: TLabel
    Left = 80
    Top = 14
    Width = 120
    Height = 12
    Caption = '0/0'
  end
  object ProgressBar: TProgressBar
    Left = 12
    Top = 34
    Width = 296
    Height = 16
    Step = 1
  end
  object btnCancel: TButton
    Left = 233
    Top = 58
    Width = 75
    Height = 25
    Caption = #21462#28040
    TabOrder = 0
  end
end
