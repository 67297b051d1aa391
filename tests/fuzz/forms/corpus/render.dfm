object Fuzz: TForm
  Left = 0
  Top = 0
  Caption = #24037#21333#21464#26356#21333#21015#21360
  ClientHeight = 360
  ClientWidth = 520
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Height = -12
  Font.Name = 'SimSun'
  object lblTitle: TLabel
    Left = 12
    Top = 12
    Caption = #21333#21035':'
  end
  object edCode: TEdit
    Left = 60
    Top = 8
    Width = 120
    Height = 22
    TabOrder = 0
    Text = 'MO-0001'
  end
  object meDate: TMaskEdit
    Left = 190
    Top = 8
    Width = 90
    Height = 22
    EditMask = '!9999/99/99;1;_'
    TabOrder = 1
    Text = '2024/05/31'
  end
  object cbType: TComboBox
    Left = 290
    Top = 8
    Width = 120
    Height = 22
    Style = csDropDownList
    ItemIndex = 0
    TabOrder = 2
    Items.Strings = (
      #31616#20307#20013#25991
      #24037#21333
      #21464#26356#21333)
  end
  object pcMain: TPageControl
    Left = 12
    Top = 40
    Width = 496
    Height = 280
    ActivePage = tsList
    TabOrder = 3
    object tsList: TTabSheet
      Caption = #21015#34920
      object lvSlips: TListView
        Left = 0
        Top = 0
        Width = 488
        Height = 250
        Align = alClient
        Columns = <
          item
            Caption = #21333#21035
            Width = 80
          end
          item
            Caption = #21333#21495
            Width = 120
          end
          item
            Alignment = taRightJustify
            Caption = #29256#27425
            Width = 60
          end>
        Items = <
          item
            Caption = '5101'
            SubItems.Strings = (
              '20240531001'
              '0001')
          end
          item
            Caption = '5102'
            SubItems.Strings = (
              '20240601002'
              '0003')
          end>
        MultiSelect = True
        RowSelect = True
        TabOrder = 0
        ViewStyle = vsReport
      end
    end
    object tsHidden: TTabSheet
      Caption = #38544#34255
      TabVisible = False
    end
    object tsOptions: TTabSheet
      Caption = #36873#39033
      object chkPrice: TCheckBox
        Left = 8
        Top = 8
        Width = 120
        Height = 17
        Caption = #25171#21360#21333#20215
        State = cbChecked
        TabOrder = 0
      end
    end
  end
  object sbMain: TStatusBar
    Left = 0
    Top = 341
    Width = 520
    Height = 19
    Panels = <
      item
        Text = #23601#32490
        Width = 120
      end
      item
        Text = #29992#25143': DS'
        Width = 120
      end>
  end
end
