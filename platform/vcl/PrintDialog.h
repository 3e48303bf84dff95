// The print dialog: chooses Printer()'s printer and the number of copies.
#pragma once

#include "platform/vcl/Components.h"
#include "platform/vcl/Events.h"

#include <functional>

class TPrintDialog : public TComponent {
public:
    explicit TPrintDialog(TComponent* owner);

    // Shows the platform's print dialog over the active window. True when the user confirms; the
    // chosen printer and copies are then Printer()'s and Copies(), and a file the user chose to print to
    // (asked about first when it exists) is Printer()->FileName(). A test hook, when set, answers
    // instead and nothing is shown; without one, on the offscreen platform, the dialog is cancelled.
    bool Execute();

    int Copies() const { return copies_; }
    void SetCopies(int copies) { copies_ = copies < 1 ? 1 : copies; }

    // Copies, and the designer's Left and Top, which mean nothing at run time.
    bool ReadProperty(TPropertyReader& reader) override;

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

    // Tests: runs instead of the dialog; its result is Execute's. It may change the dialog (Copies)
    // and Printer(). Returns the previous hook; an empty hook shows the dialog again.
    using TExecuteHook = std::function<bool(TPrintDialog& dialog)>;
    static TExecuteHook SetExecuteHook(TExecuteHook hook);

private:
    int copies_ = 1;
};
