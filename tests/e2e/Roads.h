// The roads a user takes through the client, each walked from a fresh start.
#pragma once

#include "tests/e2e/Client.h"

#include <cstddef>
#include <filesystem>
#include <ostream>

namespace e2e {

struct Road {
    const char* name;
    void (*walk)(Session&);
};
inline void PrintTo(const Road& road, std::ostream* out) {
    *out << road.name;
}

// The recorder's link: log-in, live view, the remote search, setup, firmware, log list.
void ConnectAndLogIn(Session& s);
void LiveInFourAndOneScreens(Session& s);
void RemoteSearchDownToPlayback(Session& s);
void SetupPagesApplied(Session& s);
void SetupEditsKeptUntilApplied(Session& s);
void FirmwareUpgrade(Session& s);
void LogListSavedAs(Session& s);

// The remote search as each kind of recorder offers it.
void RemoteTransportByItsButtons(Session& s);
void BackupSpanFromTheHourMenu(Session& s);
void OlderRecorderShowsWhatItCannotDo(Session& s);

// Files on the PC: backup, local playback of it, printing.
void BackupThroughTheMinuteMenu(Session& s);
void LocalPlaybackOfABackup(Session& s);
void BackupOfThePlayedStream(Session& s);
void PrintCameraOneToPdf(Session& s);
// A recorded file of a backup and its frame index: every indexed offset holds a frame header whose
// time is the indexed time, the times run forward, and the file is named after its first second.
// Returns the number of frames.
std::size_t CheckRecordedFile(const std::filesystem::path& file);
// Connected: the search mode, down to a recorded minute, that minute set as the span through the
// cells' popup menu, the destination chosen in the folder chooser, BACKUP START, and the end of the
// backup. Returns the hour folder the backup wrote (the only one in the destination).
std::filesystem::path BackUpAMinuteSpan(Session& s, Client& c, const std::string& destination);
// The map window over a played recording, its tiles through a proxy.
void MapOfAPlayedRecording(Session& s);

// Waits cut short: the database download by the link's loss, the recording page's OK by CANCEL while
// the recorder holds its reply.
void DatabaseDownloadCutByTheLink(Session& s);
void RecordingOkCancelledWhileHeld(Session& s);

// The desktop: the window manager's close of the main window ends the client in order; a second start
// on the same folder leaves the first alone.
void WindowManagerCloseEndsInOrder(Session& s);
void SecondStartOnTheSameFolder(Session& s);

// A session: roads one after another in one run of the client.
void LocalThenRecorderThenLocal(Session& s);

// What the screens look like: overlays, full mode, languages.
void GpsOverlayOnEveryFrame(Session& s);
void FullModeAndBack(Session& s);
void LanguageEnglish(Session& s);
void LanguageJapanese(Session& s);
void LanguageKorean(Session& s);
void LanguageSpanish(Session& s);
void EmptyBoxesSeenWithoutCjkFonts(Session& s);

// Keys while live view ends and during the database wait; a backup onto a full disk, then STOP SEARCH
// without an answer.
void KeysLiveOffAndTheDatabaseWait(Session& s);
void SearchBackupOnAFullDiskAndStopSearch(Session& s);

// Setup: every page visited changes nothing on the recorder; every control changed and applied.
void SetupVisitedChangesNothing(Session& s);
void SetupEveryControlApplied(Session& s);

} // namespace e2e
