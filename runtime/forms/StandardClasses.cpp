// Registers the runtime's own component classes with the class registry. The
// registry calls this once, before its first look-up.

#include "runtime/forms/Forms.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/StdCtrls.h"

void RegisterStandardClasses()
{
    RegisterClass<TForm>();
    RegisterClass<TLabel>();
    RegisterClass<TEdit>();
    RegisterClass<TMemo>();
    RegisterClass<TButton>();
    RegisterClass<TCheckBox>();
    RegisterClass<TRadioButton>();
    RegisterClass<TGroupBox>();
    RegisterClass<TComboBox>();
    RegisterClass<TListBox>();
    RegisterClass<TRadioGroup>();
    RegisterClass<TMainMenu>();
    RegisterClass<TPopupMenu>();
    RegisterClass<TMenuItem>();
}
