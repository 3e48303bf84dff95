// Requests from outside the program to end it: SIGTERM, SIGHUP and SIGINT. Each becomes a message
// posted to a window, so the program ends through its own window procedure as the end of the desktop
// session would make it: nothing but a byte written to a pipe happens in the signal handler, and the
// loop of the thread that started the forwarding reads the pipe.
#pragma once

#include "platform/win/Messages.h"

// Posts (window, message, TRUE, signal number) for every such signal from now on, replacing any
// earlier forwarding. Raises EOSError when the pipe cannot be made.
void ForwardTerminationSignals(HWND window, UINT message);
// The signals' earlier handling back; nothing happens when no forwarding runs.
void StopTerminationSignals();
