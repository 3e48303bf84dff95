// Placement of the client's forms on the main window.
#include "client/Placement.h"

#include "client/main.h"

#include "platform/vcl/Forms.h"

void PlaceOnArea(TForm* form, int areaLeft, int areaTop, int areaWidth, int areaHeight, int width,
                 int height) {
    const TPoint at =
        CentredPlacement(areaLeft, areaTop, areaWidth, areaHeight, width, height, Screen->WorkAreaRect());
    form->SetBounds(at.X, at.Y, form->Width(), form->Height());
    form->SetTopmost(true);
}

void PlaceOnMainWindow(TForm* form, int width, int height) {
    TRect main{};
    int clientWidth = 0;
    int clientHeight = 0;
    if (FrmMain != nullptr) {
        FrmMain->GetWorkArea(main);
        clientWidth = FrmMain->ClientWidth();
        clientHeight = FrmMain->ClientHeight();
    }
    PlaceOnArea(form, main.Left, main.Top, clientWidth, clientHeight, width, height);
}
