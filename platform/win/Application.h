// The non-visual part of the application object: the message pump of the thread that calls it, the
// terminate flag and the last-chance exception handler.
//
// The forms layer derives its TApplication from TCustomApplication, registers it with
// SetCurrentApplication and overrides HandleException to show an error box. Code below the forms uses
// CurrentApplication().
//
// Qt: the first pump creates a QCoreApplication only when no Qt application object exists yet, so the
// forms layer may (and must) create its QApplication before anything else; this layer never owns it then.
#pragma once

#include "platform/core/Types.h"

#include <atomic>
#include <exception>

class TCustomApplication {
public:
    TCustomApplication();
    virtual ~TCustomApplication();
    TCustomApplication(const TCustomApplication&) = delete;
    TCustomApplication& operator=(const TCustomApplication&) = delete;

    // Runs what is pending on the calling thread (the posted messages present when it starts, one socket
    // and timer evaluation, Qt events) and returns without waiting. Afterwards Sleep(0) on this thread
    // waits up to about 1 ms for the next event instead of spinning.
    void ProcessMessages();
    // Waits for the next event of the calling thread and handles it (and whatever else is pending).
    // Returns at once when the application is terminated.
    void HandleMessage();
    // HandleMessage until Terminated.
    void Run();

    bool Terminated() const;
    // Sets the flag and wakes the thread's loop; WM_QUIT retrieved by the pump sets it too.
    void Terminate();

    // Last stop of an exception that escaped a window procedure or a notification handler. The default
    // writes a debug-output line; the forms layer shows the message.
    virtual void HandleException(const std::exception& e);
    // For exceptions of other types: calls HandleException with a generic message.
    void HandleUnknownException();

private:
    std::atomic<bool> terminated_{false};
    // The thread whose loop Terminate wakes: the last one that pumped through this object.
    std::atomic<DWORD> loopThread_{0};
};

// The registered application, else a default instance that lives until the end of the program.
TCustomApplication& CurrentApplication();
// The forms layer registers its application here; nullptr unregisters (back to the default instance).
// An application that is destroyed while registered unregisters itself.
void SetCurrentApplication(TCustomApplication* app);
