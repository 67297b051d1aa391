object Fuzz: TForm
  Caption = 'A'#20013'b' +
    'c'
  ClientWidth = 200
  Font.Style = [fsBold]
  object Label1: TLabel
    Caption = 'x'
  end
  object ListView1: TListView
    Columns = <
      item
        Caption = 'c'
        Width = 40
      end>
    Items = <
      item
        Caption = 'r'
        SubItems.Strings = (
          's')
      end>
    ViewStyle = vsReport
  end
  object PageControl1: TPageControl
    ActivePage = TabSheet1
    object TabSheet1: TTabSheet
      Caption = 't'
      TabVisible = False
    end
  end
  object ImageList1: TImageList
    Bitmap = {00}
  end
  object MainMenu1: TMainMenu
    object N1: TMenuItem
      Caption = 'm'
      ShortCut = 16467
    end
  end
  object StringGrid1: TStringGrid
    ColCount = 3
    Options = [goEditing]
  end
end
