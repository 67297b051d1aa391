object frmHubDate: TfrmHubDate
  Left = 300
  Top = 200
  BorderStyle = bsDialog
  Caption = #26085#26399#24555#25163
  ClientHeight = 282
  ClientWidth = 268
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'SimSun'
  Font.Style = []
  KeyPreview = True
  Position = poScreenCenter
  object btnPrevYear: TButton
    Left = 8
    Top = 8
    Width = 30
    Height = 24
    Hint = #19978#19968#24180
    ShowHint = True
    Caption = '<<'
    TabOrder = 0
  end
  object btnPrevMonth: TButton
    Left = 40
    Top = 8
    Width = 30
    Height = 24
    Hint = #19978#19968#26376
    ShowHint = True
    Caption = '<'
    TabOrder = 1
  end
  object lblMonth: TLabel
    Left = 72
    Top = 13
    Width = 124
    Height = 14
    Alignment = taCenter
    AutoSize = False
    Caption = #26376#20221
  end
  object btnNextMonth: TButton
    Left = 198
    Top = 8
    Width = 30
    Height = 24
    Hint = #19979#19968#26376
    ShowHint = True
    Caption = '>'
    TabOrder = 2
  end
  object btnNextYear: TButton
    Left = 230
    Top = 8
    Width = 30
    Height = 24
    Hint = #19979#19968#24180
    ShowHint = True
    Caption = '>>'
    TabOrder = 3
  end
  object calCalendar: THubCalendar
    Left = 8
    Top = 38
    Width = 252
    Height = 176
    TabOrder = 4
  end
  object lblDate: TLabel
    Left = 8
    Top = 226
    Caption = #26085#26399':'
    FocusControl = edDate
  end
  object edDate: TEdit
    Left = 48
    Top = 222
    Width = 110
    Height = 22
    ReadOnly = True
    TabOrder = 5
  end
  object btnToday: TButton
    Left = 186
    Top = 221
    Width = 74
    Height = 24
    Caption = #20170#22825'(&T)'
    TabOrder = 6
  end
  object btnOK: TButton
    Left = 102
    Top = 250
    Width = 75
    Height = 25
    Caption = #30830#23450
    Default = True
    ModalResult = mrOk
    TabOrder = 7
  end
  object btnCancel: TButton
    Left = 185
    Top = 250
    Width = 75
    Height = 25
    Cancel = True
    Caption = #21462#28040
    ModalResult = mrCancel
    TabOrder = 8
  end
end
