inherited frmSampleChild: TfrmSampleChild
  Caption = 'Child'
  inherited edCode: TEdit
    Text = 'MO-0002'
  end
  object lblExtra: TLabel
    Left = 16
    Top = 80
    Caption = 'Extra'
  end
end
