object frmVRBaseFmt: TfrmVRBaseFmt
  Left = 0
  Top = 0
  Width = 860
  Height = 700
  Caption = 'frmVRBaseFmt'
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'SimSun'
  Font.Style = []
  object QuickRep1: TQuickRep
    Left = 8
    Top = 8
    Width = 653
    Height = 845
    DataSet = 'ClientDataSet1'
    Options = [FirstPageHeader, LastPageFooter]
    Page.Values = (100 2794 100 2159 100 100 0)
    Page.PaperSize = Letter
    Page.Orientation = poPortrait
    PrintIfEmpty = True
    SnapToGrid = True
    Units = MM
    Zoom = 80
    BeforePrint = QuickRep1BeforePrint
    OnStartPage = QuickRep1StartPage
    object qrLostFocus: TQRLabel
      Left = -3000
      Top = -3000
      Width = 10
      Height = 10
      Enabled = False
      Caption = ''
    end
  end
  object memoChCapital: TMemo
    Left = 680
    Top = 8
    Width = 100
    Height = 200
    Visible = False
    Lines.Strings = (
      '零'
      '壹'
      '贰'
      '叁'
      '肆'
      '伍'
      '陆'
      '柒'
      '捌'
      '玖'
      '仟'
      '佰'
      '拾'
      '角'
      '分'
      ' '
      '万'
      '亿'
      '元'
      '整'
      '负'
      '人民币合计')
  end
  object SQLReBuilder: ReportQueryBuilder
  end
  object DreamDesigner1: TDreamDesigner
  end
  object PopupMenu1: TPopupMenu
  end
end
