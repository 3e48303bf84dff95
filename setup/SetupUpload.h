// Sending a setup file to the recorder and knowing what became of it: the recorder's reply to this
// upload (accepted or refused), no reply within the time, or a link that went away. The setup menu's
// APPLY and the recording page's OK report every way but acceptance to the user.
#pragma once

#include "platform/core/Types.h"

#include <string>

class TForm;

enum class TUploadEnd {
    Accepted,
    Refused,    // the reply carried result 0
    Unanswered, // no reply within the time
    LinkLost,   // no connection, or it went while sending or waiting
    NoFile,     // the file cannot be read (or is no setup file's size): nothing was sent
    Terminated, // the application is ending
    Ended,      // the setup pass ended meanwhile: nothing more is sent
};

// The command connection is up.
bool SetupLinkUp();
// Reads the program folder's file, announces it with command 104 (its size, the kind) and sends it,
// then waits up to limitMs, pumping messages, for the reply to this upload. The wait serves the setup
// pass.
TUploadEnd SendSetupFile(const std::string& name, DWORD kind, DWORD limitMs);
// The box that tells why the file did not get through, placed over the form; `kept` says what becomes
// of the user's edits. Nothing for Accepted, NoFile, Terminated and Ended.
void ReportUploadEnd(TForm* over, TUploadEnd end, const std::string& kept);
