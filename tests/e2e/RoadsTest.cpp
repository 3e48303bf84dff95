// The client as a user drives it: the real program and the simulated recorder under an X server of
// the road's own, clicks and keys through that server, the real dialogs and popup menus, and what
// shows on the screen checked by its pixels. No test hook anywhere. Each road is a row of the table
// at the end; a failing road leaves its last picture, the client's trace and the recorder's log
// under build/e2e-failures/<road>/.
#include "tests/e2e/Roads.h"

#include <gtest/gtest.h>

#include <iostream>

namespace e2e {
namespace {

// Longest first: a clean tree has no times of earlier runs, and starts them in this order.
const Road kRoads[] = {
    {"session_local_recorder_local", LocalThenRecorderThenLocal},
    {"setup_every_control", SetupEveryControlApplied},
    {"local_playback", LocalPlaybackOfABackup},
    {"keys_live_off_database_wait", KeysLiveOffAndTheDatabaseWait},
    {"gps_overlay", GpsOverlayOnEveryFrame},
    {"setup_unapplied", SetupEditsKeptUntilApplied},
    {"remote_transport", RemoteTransportByItsButtons},
    {"setup_visit_changes_nothing", SetupVisitedChangesNothing},
    {"setup_pages", SetupPagesApplied},
    {"remote_search", RemoteSearchDownToPlayback},
    {"search_backup_full_disk_stop_search", SearchBackupOnAFullDiskAndStopSearch},
    {"live", LiveInFourAndOneScreens},
    {"played_stream_backup", BackupOfThePlayedStream},
    {"search_download_link_lost", DatabaseDownloadCutByTheLink},
    {"older_recorder", OlderRecorderShowsWhatItCannotDo},
    {"recording_ok_cancelled_while_held", RecordingOkCancelledWhileHeld},
    {"backup", BackupThroughTheMinuteMenu},
    {"print_pdf", PrintCameraOneToPdf},
    {"backup_hour_menu", BackupSpanFromTheHourMenu},
    {"connect", ConnectAndLogIn},
    {"full_mode", FullModeAndBack},
    {"language_english", LanguageEnglish},
    {"language_japanese", LanguageJapanese},
    {"language_korean", LanguageKorean},
    {"language_spanish", LanguageSpanish},
    {"window_manager_close", WindowManagerCloseEndsInOrder},
    {"loglist_save_as", LogListSavedAs},
    {"map", MapOfAPlayedRecording},
    {"upgrade", FirmwareUpgrade},
    {"second_start", SecondStartOnTheSameFolder},
    {"empty_boxes_without_cjk_fonts", EmptyBoxesSeenWithoutCjkFonts},
};

class Roads : public ::testing::TestWithParam<Road> {};

TEST_P(Roads, Walk) {
    const Road& road = GetParam();
    Session session(road.name);
    std::string failure;
    try {
        road.walk(session);
    } catch (const std::exception& e) {
        failure = e.what();
        ADD_FAILURE() << failure;
    }
    if (HasFailure())
        std::cout << "kept for the reader: " << session.KeepForReader(failure) << std::endl;
    else
        session.Discard();
}

INSTANTIATE_TEST_SUITE_P(Client, Roads, ::testing::ValuesIn(kRoads),
                         [](const ::testing::TestParamInfo<Road>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace e2e
