inherited frmZtst53: TfrmZtst53
  Height = 430
  Caption = 'Change slip headers'
  inherited pgOption: TExtPageControl
    inherited tsOption1: TTabSheet
      object spTO001: TSelectPanel
        Left = 4
        Top = 8
        Width = 340
        Height = 90
        Caption = 'Slip type'
        Style = sp_UserChoice
        TabOrder = 0
      end
    end
  end
end
