// Registers the runtime's own component classes with the class registry. The
// registry calls this once, before its first look-up.

#include "runtime/forms/Buttons.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/ExtraCtrls.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/ImgList.h"
#include "runtime/forms/Mask.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/StdCtrls.h"

void RegisterStandardClasses()
{
    RegisterCommonControlEvents();
    RegisterClass<TForm>();
    // Standard controls
    RegisterClass<TLabel>();
    RegisterClass<TEdit>();
    RegisterClass<TMaskEdit>();
    RegisterClass<TMemo>();
    RegisterClass<TButton>();
    RegisterClass<TBitBtn>();
    RegisterClass<TSpeedButton>();
    RegisterClass<TCheckBox>();
    RegisterClass<TRadioButton>();
    RegisterClass<TRadioGroup>();
    RegisterClass<TGroupBox>();
    RegisterClass<TPanel>();
    RegisterClass<TBevel>();
    RegisterClass<TImage>();
    RegisterClass<TSplitter>();
    RegisterClass<TComboBox>();
    RegisterClass<TListBox>();
    // Common controls
    RegisterClass<TListView>();
    RegisterClass<TTreeView>();
    RegisterClass<TMonthCalendar>();
    RegisterClass<TPageControl>();
    RegisterClass<TTabSheet>();
    RegisterClass<TTabSet>();
    RegisterClass<TStatusBar>();
    RegisterClass<TToolBar>();
    RegisterClass<TToolButton>();
    RegisterClass<TProgressBar>();
    RegisterClass<TSpinEdit>();
    RegisterClass<TStringGrid>();
    // Non-visual components
    RegisterClass<TMainMenu>();
    RegisterClass<TPopupMenu>();
    RegisterClass<TMenuItem>();
    RegisterClass<TImageList>();
}
