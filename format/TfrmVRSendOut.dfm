object frmVRSendOut: TfrmVRSendOut
  Left = 400
  Top = 300
  BorderStyle = bsDialog
  FormStyle = fsStayOnTop
  Caption = #20256#36865
  ClientHeight = 112
  ClientWidth = 320
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'SimSun'
  Font.Style = []
  Position = poScreenCenter
  object Label2: TLabel
    Left = 12
    Top = 12
    Width = 48
    Height = 12
    Caption = #25509#25910#32773':'
  end
  object txtReceiver: TLabel
    Left = 80
    Top = 12
    Width = 150
    Height = 12
    AutoSize = False
  end
  object txtReceiveCnt: TLabel
    Left = 236
    Top = 12
    Width = 72
    Height = 12
    Alignment = taRightJustify
    AutoSize = False
  end
  object Label1: TLabel
    Left = 12
    Top = 34
    Width = 60
    Height = 12
    Caption = #36716#25442#39029#25968':'
  end
  object txtPageCnt: TLabel
    Left = 80
    Top = 34
    Width = 100
    Height = 12
    AutoSize = False
  end
  object ProgressBar1: TProgressBar
    Left = 12
    Top = 54
    Width = 296
    Height = 16
    Step = 1
  end
  object btnCancel: TButton
    Left = 233
    Top = 78
    Width = 75
    Height = 25
    Caption = #21462#28040
    TabOrder = 0
  end
end
