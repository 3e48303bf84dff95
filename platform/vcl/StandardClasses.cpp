// The classes form definitions may name out of the box.
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/PrintDialog.h"
#include "platform/vcl/StdCtrls.h"

#include <mutex>

namespace vcl_internal {

void RegisterStandardClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterComponentClass<TLabel>("TLabel");
        RegisterComponentClass<TEdit>("TEdit");
        RegisterComponentClass<TMaskEdit>("TMaskEdit");
        RegisterComponentClass<TMemo>("TMemo");
        RegisterComponentClass<TButton>("TButton");
        RegisterComponentClass<TBitBtn>("TBitBtn");
        RegisterComponentClass<TCheckBox>("TCheckBox");
        RegisterComponentClass<TRadioButton>("TRadioButton");
        RegisterComponentClass<TGroupBox>("TGroupBox");
        RegisterComponentClass<TComboBox>("TComboBox");
        RegisterComponentClass<TListBox>("TListBox");
        RegisterComponentClass<TScrollBar>("TScrollBar");
        RegisterComponentClass<TPanel>("TPanel");
        RegisterComponentClass<TBevel>("TBevel");
        RegisterComponentClass<TImage>("TImage");
        RegisterComponentClass<TPaintBox>("TPaintBox");
        RegisterComponentClass<TStringGrid>("TStringGrid");
        RegisterComponentClass<TPageControl>("TPageControl");
        RegisterComponentClass<TTabSheet>("TTabSheet");
        RegisterComponentClass<TPopupMenu>("TPopupMenu");
        RegisterComponentClass<TMenuItem>("TMenuItem");
        RegisterComponentClass<TTimer>("TTimer");
        RegisterComponentClass<TOpenDialog>("TOpenDialog");
        RegisterComponentClass<TSaveDialog>("TSaveDialog");
        RegisterComponentClass<TPrintDialog>("TPrintDialog");
    });
}

} // namespace vcl_internal
