inherited frmZorv52: TfrmZorv52
  Height = 430
  Caption = '工单变更单打印'
  inherited pgOption: TExtPageControl
    inherited tsOption1: TTabSheet
      object lblTO001Caption: TLabel
        Left = 8
        Top = 12
        Caption = '选择变更单别'
        FocusControl = edTO001
      end
      object edTO001: TEdit
        Left = 96
        Top = 8
        Width = 56
        Height = 21
        CharCase = ecUpperCase
        Hint = '[F2]单据性质信息'
        MaxLength = 4
        ShowHint = True
        TabOrder = 0
        OnExit = edTO001Exit
      end
      object btnTA001: TF2Button
        Left = 154
        Top = 8
        Width = 21
        Height = 21
        F2Control = edTO001
      end
      object lblTO001: TLabel
        Left = 184
        Top = 12
        Caption = ''
      end
      object spTO002: TSelectPanel
        Left = 4
        Top = 36
        Width = 340
        Height = 90
        Caption = '选择变更单号'
        Style = sp_UserChoice
        TabOrder = 1
      end
      object spTO003: TSelectPanel
        Left = 4
        Top = 130
        Width = 340
        Height = 50
        Caption = '选择变更版本'
        TabOrder = 2
      end
      object spTO004: TSelectPanel
        Left = 4
        Top = 184
        Width = 340
        Height = 50
        Caption = '选择变更日期'
        TabOrder = 3
        ChildHints.Strings = (
          '用户自定输入方式'
          '[F2]日期快手'
          '日期快手'
          '[F2]日期快手'
          '日期快手'
          '多选-己选择的信息'
          '多选-信息开窗'
          '多选-删除一笔信息'
          '多选-删除己选信息')
      end
      object spTO043: TSelectPanel
        Left = 4
        Top = 238
        Width = 340
        Height = 50
        Caption = '选择审核日期'
        TabOrder = 4
        ChildHints.Strings = (
          '用户自定输入方式'
          '[F2]日期快手'
          '日期快手'
          '[F2]日期快手'
          '日期快手'
          '多选-己选择的信息'
          '多选-信息开窗'
          '多选-删除一笔信息'
          '多选-删除己选信息')
      end
    end
    object tsOption3: TTabSheet
      Caption = '高级选项'
      object lblTO041: TLabel
        Left = 8
        Top = 12
        Caption = '选择审核状态'
        FocusControl = cboTO041
      end
      object cboTO041: TComboBox
        Left = 100
        Top = 8
        Width = 120
        Height = 21
        Style = csDropDownList
        TabOrder = 0
        Items.Strings = (
          '已审核'
          '未审核'
          '作废'
          '全部')
      end
      object lblTO042: TLabel
        Left = 8
        Top = 42
        Caption = '选择打印状态'
        FocusControl = cboTO042
      end
      object cboTO042: TComboBox
        Left = 100
        Top = 38
        Width = 120
        Height = 21
        Style = csDropDownList
        TabOrder = 1
        Items.Strings = (
          '已打印'
          '未打印'
          '全部')
      end
      object ChkPricePower: TCheckBox
        Left = 8
        Top = 72
        Width = 160
        Height = 17
        Caption = '打印单价金额'
        TabOrder = 2
      end
    end
    inherited tsFEP: TTabSheet
      inherited cboSendWay: TComboBox
        Items.Strings = (
          'FAX To 供应商'
          'Email To 供应商'
          'FAX To 自定义对象'
          'Email To 自定义对象')
      end
    end
  end
end
