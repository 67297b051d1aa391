object frmHubLookup: TfrmHubLookup
  Left = 240
  Top = 160
  Caption = #24320#31383#26597#35810
  ClientHeight = 360
  ClientWidth = 540
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'SimSun'
  Font.Style = []
  KeyPreview = True
  Position = poScreenCenter
  object pnlTop: TPanel
    Left = 0
    Top = 0
    Width = 540
    Height = 36
    Align = alTop
    BevelOuter = bvNone
    TabOrder = 0
    object lblSearch: TLabel
      Left = 8
      Top = 11
      Caption = #26597#25214':'
      FocusControl = edSearch
    end
    object edSearch: TEdit
      Left = 48
      Top = 7
      Width = 220
      Height = 22
      Hint = #36755#20837#20219#19968#26639#20301#21253#21547#30340#25991#23383
      ShowHint = True
      TabOrder = 0
    end
    object lblCount: TLabel
      Left = 284
      Top = 11
      Caption = #20849' 0 '#31508
    end
  end
  object lvRows: TListView
    Left = 0
    Top = 36
    Width = 540
    Height = 284
    Align = alClient
    GridLines = True
    HideSelection = False
    ReadOnly = True
    RowSelect = True
    TabOrder = 1
    ViewStyle = vsReport
  end
  object pnlBottom: TPanel
    Left = 0
    Top = 320
    Width = 540
    Height = 40
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 2
    object btnAll: TButton
      Left = 8
      Top = 8
      Width = 75
      Height = 25
      Caption = #20840#36873'(&A)'
      TabOrder = 0
    end
    object btnOK: TButton
      Left = 368
      Top = 8
      Width = 75
      Height = 25
      Caption = #30830#23450
      Default = True
      TabOrder = 1
    end
    object btnCancel: TButton
      Left = 452
      Top = 8
      Width = 75
      Height = 25
      Cancel = True
      Caption = #21462#28040
      ModalResult = mrCancel
      TabOrder = 2
    end
  end
end
