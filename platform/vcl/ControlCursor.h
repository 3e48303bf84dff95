// The cursor over a part of a control that does something of its own (a size grip), shown without
// touching the control's Cursor property, which the program may have set.
#pragma once

#include "platform/vcl/Controls.h"

// Shows `cursor` over the control until it is called again; crDefault shows the control's own Cursor.
void ShowControlCursor(TControl* control, TCursor cursor);
// The cursor the control's window shows now; crDefault when it shows none of its own.
TCursor ShownCursor(const TControl* control);
