inherited frmVROpt: TfrmVROpt
  inherited pgOption: TExtPageControl
    inherited tsOption2: TTabSheet
      object grpNote: TGroupBox
        Left = 8
        Top = 66
        Width = 252
        Height = 126
        Caption = '页脚'
        TabOrder = 3
        object edtNoteID: TEdit
          Left = 64
          Top = 18
          Width = 60
          Height = 21
          Hint = '[F2]页脚信息查询'
          MaxLength = 6
          ShowHint = True
          TabOrder = 0
          OnEnter = SignCodeEnter
          OnExit = SignCodeExit
        end
        object btnNote: TF2Button
          Left = 126
          Top = 18
          Width = 21
          Height = 21
          F2Control = edtNoteID
          GlyphIndex = 8
        end
        object lbledtNote1: TLabel
          Left = 8
          Top = 48
          Caption = '页脚一'
        end
        object edtNote1: TEdit
          Left = 64
          Top = 44
          Width = 178
          Height = 21
          MaxLength = 255
          TabOrder = 1
        end
        object lbledtNote2: TLabel
          Left = 8
          Top = 74
          Caption = '页脚二'
        end
        object edtNote2: TEdit
          Left = 64
          Top = 70
          Width = 178
          Height = 21
          MaxLength = 255
          TabOrder = 2
        end
        object lbledtNote3: TLabel
          Left = 8
          Top = 100
          Caption = '页脚三'
        end
        object edtNote3: TEdit
          Left = 64
          Top = 96
          Width = 178
          Height = 21
          MaxLength = 255
          TabOrder = 3
        end
      end
      object grpSignIn: TGroupBox
        Left = 266
        Top = 66
        Width = 252
        Height = 126
        Caption = '签核'
        TabOrder = 4
        object edtSignInID: TEdit
          Left = 64
          Top = 18
          Width = 60
          Height = 21
          Hint = '[F2]签核信息查询'
          MaxLength = 6
          ShowHint = True
          TabOrder = 0
          OnEnter = SignCodeEnter
          OnExit = SignCodeExit
        end
        object btnSignIn: TF2Button
          Left = 126
          Top = 18
          Width = 21
          Height = 21
          F2Control = edtSignInID
          GlyphIndex = 8
        end
        object lbledtSignIn1: TLabel
          Left = 8
          Top = 48
          Caption = '签核一'
        end
        object edtSignIn1: TEdit
          Left = 64
          Top = 44
          Width = 178
          Height = 21
          MaxLength = 255
          TabOrder = 1
        end
        object lbledtSignIn2: TLabel
          Left = 8
          Top = 74
          Caption = '签核二'
        end
        object edtSignIn2: TEdit
          Left = 64
          Top = 70
          Width = 178
          Height = 21
          MaxLength = 255
          TabOrder = 2
        end
        object lbledtSignIn3: TLabel
          Left = 8
          Top = 100
          Caption = '签核三'
        end
        object edtSignIn3: TEdit
          Left = 64
          Top = 96
          Width = 178
          Height = 21
          MaxLength = 255
          TabOrder = 3
        end
      end
      object chkNoteEPPrint: TCheckBox
        Left = 8
        Top = 198
        Width = 128
        Height = 17
        Caption = '每页打印页脚'
        TabOrder = 5
      end
      object chkSignInEPPrint: TCheckBox
        Left = 140
        Top = 198
        Width = 128
        Height = 17
        Caption = '每页打印签核'
        TabOrder = 6
      end
      object chkTotalPrint: TCheckBox
        Left = 272
        Top = 198
        Width = 128
        Height = 17
        Caption = '每页打印合计'
        TabOrder = 7
      end
    end
  end
end
