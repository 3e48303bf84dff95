// The main window: the skinned shell around the four screens, the recorder link and the client's
// working state. Its code is split by concern: main.cpp (construction, activation), main_startup.cpp
// (first showing, language library), main_layout.cpp (screens and video standard), main_setupini.cpp
// (setup.ini), main_chrome.cpp (placement, message boxes, dragging), main_shutdown.cpp (power off),
// main_link.cpp (connect, log-in, the connection's events, disconnect), main_receiver.cpp (what the
// recorder's packets change, application messages), main_heartbeat.cpp (heartbeat, child windows),
// main_av.cpp (the A/V stream into the screens), main_live.cpp (live start and stop, camera buttons,
// small timers), main_fullmode.cpp (full and skin mode), main_overlay.cpp (side-data overlays and their
// menu).
// The command connection's send path, waits and receiver come from CCommandLink.
#pragma once

#include "client/Activities.h"
#include "client/AvFrameQueue.h"
#include "client/AvFrameRoute.h"
#include "client/CommandLink.h"
#include "client/Heartbeat.h"
#include "client/PlaybackClock.h"
#include "client/ScreenLayout.h"
#include "client/StreamSaver.h"
#include "controls/BmButton.h"
#include "controls/ImgAnimation.h"
#include "controls/MMTimer.h"
#include "controls/Slider.h"
#include "controls/imgframe.h"
#include "formats/AvStreamReceiver.h"
#include "formats/QelAvFile.h"
#include "platform/core/Types.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CG726Audio;
class CQelVideoFile;
struct QelFrameRecord;
class TIniFile;
class TJPEGImage;
class TWSocket;

// Application messages of the main window.
inline constexpr UINT kMsgUpgradeFinished = WM_APP + 1;
inline constexpr UINT kMsgLoginRefused = WM_APP + 2;
inline constexpr UINT kMsgJoinMulticast = WM_APP + 3;
inline constexpr UINT kMsgLoginAccepted = WM_APP + 4;
// The recorder would not install the image (wParam: its error code).
inline constexpr UINT kMsgUpgradeRefused = WM_APP + 5;

// CurrentMode values.
inline constexpr int kModeLocal = 1;
inline constexpr int kModeLive = 2;
inline constexpr int kModeSearch = 3;

class TFrmMain : public TForm, public CCommandLink {
public:
    explicit TFrmMain(TComponent* owner);
    ~TFrmMain() override;

    // ---- Skin pictures ----
    TImgFrame* ImgFrame1 = nullptr; // background of the second video standard; defines the client size
    TImgFrame* ImgFrame2 = nullptr; // mode tab panel: frame 0 local, 1 live, 2 search
    TImgFrame* ImgFrame3 = nullptr; // background of the first video standard
    TImgFrame* ImgFrame4 = nullptr; // speaker: frame 0 sound, 1 silent
    TImgFrame* ImgFrame5 = nullptr;
    TImgFrame* ImgHideBtn = nullptr;
    TImgFrame* ImgPoint = nullptr; // link indicator, 2 frames
    TImgAnimation* ImgAniState = nullptr;
    TImage* ImageEmpty = nullptr; // the blank picture of an idle screen

    // ---- Window and mode buttons ----
    TBmButton* BtnPower = nullptr;
    TBmButton* BtnClose = nullptr;
    TBmButton* BtnMinimize = nullptr;
    TBmButton* BtnConnect = nullptr;
    TBmButton* BtnDisconnect = nullptr;
    TBmButton* BtnUpgrade = nullptr;
    TBmButton* BtnDetectUsb = nullptr;
    TBmButton* BtnAbout = nullptr;
    TBmButton* BtnLoglist = nullptr;
    TBmButton* BtnSearch = nullptr;
    TBmButton* btnLocal_m = nullptr;
    TBmButton* btnLive_m = nullptr;
    TBmButton* btnSer_m = nullptr;
    TBmButton* BtnLive = nullptr;
    TBmButton* BtnDislive = nullptr;
    TBmButton* BtnSetup = nullptr;
    TBmButton* BtnRemote_rec = nullptr;
    TBmButton* BtnRemote_stop = nullptr;
    TBmButton* BtnSer = nullptr;
    TBmButton* BtnDisser = nullptr;
    TBmButton* BtnBackup = nullptr;
    TBmButton* BtnBackup_on = nullptr;
    TBmButton* BtnOpenMap = nullptr;
    TBmButton* BtnRecStart = nullptr;
    TBmButton* BtnRecStop = nullptr;

    // ---- Transport and camera buttons ----
    TBmButton* BtnFirst = nullptr;
    TBmButton* BtnPrev = nullptr;
    TBmButton* BtnFastReverse = nullptr;
    TBmButton* BtnReverse = nullptr;
    TBmButton* BtnPlay = nullptr;
    TBmButton* BtnPause = nullptr;
    TBmButton* BtnStop = nullptr;
    TBmButton* BtnFastPlay = nullptr;
    TBmButton* BtnNext = nullptr;
    TBmButton* BtnLast = nullptr;
    TBmButton* BtnBack5 = nullptr;
    TBmButton* BtnCamera1 = nullptr;
    TBmButton* BtnCamera2 = nullptr;
    TBmButton* BtnCamera3 = nullptr;
    TBmButton* BtnCamera4 = nullptr;
    TBmButton* BtnQuad = nullptr;
    TBitSlider* SliderSearch = nullptr;
    TBitSlider* SliderVolume = nullptr;

    // ---- Screens: PanelScreen holds Panel1..4 (one per camera) and the full-mode quarters 5..8 ----
    TPanel* PanelScreen = nullptr;
    TPanel* Panel1 = nullptr;
    TPanel* Panel2 = nullptr;
    TPanel* Panel3 = nullptr;
    TPanel* Panel4 = nullptr;
    TPanel* Panel5 = nullptr;
    TPanel* Panel6 = nullptr;
    TPanel* Panel7 = nullptr;
    TPanel* Panel8 = nullptr;
    // Created by the constructor: "VidScreen_0".."VidScreen_3", Tag = camera 0..3.
    std::array<TImage*, 4> VidScreen{};

    // ---- Texts ----
    TLabel* Label1 = nullptr; // play speed ("X1")
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* LabelSearchTime = nullptr;
    TLabel* LabelYearMonth = nullptr;
    TLabel* LabelTime = nullptr;
    TLabel* lbState = nullptr;
    TLabel* LabelFullSearchTime1 = nullptr;
    TLabel* LabelFullSearchTime2 = nullptr;
    TLabel* LabelFullSearchTime3 = nullptr;
    TLabel* LabelFullSearchTime4 = nullptr;
    TLabel* LabelCamera1 = nullptr;
    TLabel* LabelCamera2 = nullptr;
    TLabel* LabelCamera3 = nullptr;
    TLabel* LabelCamera4 = nullptr;
    TLabel* LabelGPSdata1 = nullptr;
    TLabel* LabelGPSdata2 = nullptr;
    TLabel* LabelGPSdata3 = nullptr;
    TLabel* LabelGPSdata4 = nullptr;
    TLabel* LabelTACHOdata1 = nullptr;
    TLabel* LabelTACHOdata2 = nullptr;
    TLabel* LabelTACHOdata3 = nullptr;
    TLabel* LabelTACHOdata4 = nullptr;
    TLabel* LabelA1 = nullptr;
    TLabel* LabelA2 = nullptr;
    TLabel* LabelA3 = nullptr;
    TLabel* LabelA4 = nullptr;
    TLabel* LabelM1 = nullptr;
    TLabel* LabelM2 = nullptr;
    TLabel* LabelM3 = nullptr;
    TLabel* LabelM4 = nullptr;
    TLabel* LabelS1 = nullptr;
    TLabel* lbRed = nullptr;
    TLabel* lbYellow = nullptr;
    TLabel* lbLeft = nullptr;
    TLabel* lbGreen = nullptr;
    TListBox* lbDebug = nullptr;
    // Debug buttons, kept out of the visible layout.
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button4 = nullptr;
    TButton* Button5 = nullptr;
    TButton* Button6 = nullptr;
    TButton* Button7 = nullptr;
    TButton* Button11 = nullptr;
    TButton* Button12 = nullptr;
    // The remote search's plain transport buttons, beside the debug buttons.
    TButton* Pause = nullptr;
    TButton* Play = nullptr;
    TButton* Step = nullptr;

    // ---- Screen popup menu ----
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* MenuItemQuad = nullptr;
    TMenuItem* MenuItemCam1 = nullptr;
    TMenuItem* MenuItemCam2 = nullptr;
    TMenuItem* MenuItemCam3 = nullptr;
    TMenuItem* MenuItemCam4 = nullptr;
    TMenuItem* MenuItemPrint = nullptr;
    TMenuItem* MenuItemPrintCam1 = nullptr;
    TMenuItem* MenuItemPrintCam2 = nullptr;
    TMenuItem* MenuItemPrintCam3 = nullptr;
    TMenuItem* MenuItemPrintCam4 = nullptr;
    TMenuItem* MenuItemFullMode = nullptr;
    TMenuItem* MenuItemSkinMode = nullptr;
    TMenuItem* MenuItemGPS = nullptr;
    TMenuItem* MenuItemGPSON = nullptr;
    TMenuItem* MenuItemGPSOFF = nullptr;
    TMenuItem* MenuItemGPSTL = nullptr;
    TMenuItem* MenuItemGPSTR = nullptr;
    TMenuItem* MenuItemGPSBL = nullptr;
    TMenuItem* MenuItemGPSBR = nullptr;
    TMenuItem* MenuItemTACHO = nullptr;
    TMenuItem* MenuItemTACHOON = nullptr;
    TMenuItem* MenuItemTACHOOFF = nullptr;
    TMenuItem* MenuItemCOLOR = nullptr;
    TMenuItem* MenuItemCOLORRED = nullptr;
    TMenuItem* MenuItemCOLORBLUE = nullptr;
    TMenuItem* MenuItemCOLORYELLOW = nullptr;
    TMenuItem* MenuItemSaved = nullptr;

    // ---- Dialogs, timers and sockets ----
    TOpenDialog* OpenDialog1 = nullptr;
    TTimer* TimerHeartBeat = nullptr;
    TTimer* TimerDialogPosition = nullptr;
    TTimer* TimerClock = nullptr;
    TTimer* TimerPlayState = nullptr;
    TTimer* TimerAVData = nullptr;
    TTimer* TimerPutItem = nullptr;
    TTimer* TimerVolume = nullptr;
    TMMTimer* MMTimerPlayback = nullptr;
    TMMTimer* MMTimerReverse = nullptr;
    TMMTimer* MMTimerPutItem = nullptr;
    // Made by the constructor, freed by the destructor.
    TWSocket* CliSocket = nullptr;
    TWSocket* AVDataCliSocket = nullptr;
    TWSocket* SocketMcast = nullptr;
    TWSocket* SocketAVDataServer = nullptr;
    TWSocket* SocketSClient = nullptr;

    // ---- Owned objects ----
    CQelVideoFile* VideoReader = nullptr;
    TJPEGImage* JpegImage = nullptr;

    // ---- Language ----
    int LanguageId = 0;
    std::string LanguageCode;
    int CodePage = 0; // kept beside the code; every text is UTF-8 here
    HMODULE LangModule = nullptr;
    std::string ProgramFolder; // ends with '/'

    // ---- Working state ----
    TRect MainWindowRect{};
    int CurrentMode = kModeLocal;
    BYTE LoggedIn = 0;
    BYTE DisconnectRequested = 0;
    BYTE ForcedLocal = 0;
    BYTE RemoteRecording = 0;
    BYTE FileListShown = 0;
    BYTE SysLogShown = 0;
    BYTE StreamCopying = 0;
    BYTE HeartbeatArmed = 0;
    BYTE PlaybackStopped = 0;
    // Playback tuning taken from the reader.
    int FramesPerRound = 0;
    int RingCapacity = 0;
    int RepeatPlay = 0;

    // ---- What runs (the record, Activities, is the command link's), and the one road by which it ends ----
    bool LiveActive() const { return Activities.Running(TActivity::LiveView); }
    bool RemoteSearchActive() const { return Activities.Running(TActivity::RemoteSearch); }
    // The search tab's Backup button saves the searched stream.
    bool BackupActive() const { return Activities.Running(TActivity::SearchBackup); }
    // Incoming A/V frames are written into recorded files.
    bool StreamSaving() const {
        return Activities.Running(TActivity::SearchBackup) || Activities.Running(TActivity::Backup);
    }
    // An image was sent by this client and the recorder has not said how its installation ended.
    bool UpgradeRunning() const { return Activities.Running(TActivity::Upgrade); }
    // Ends what runs, in the same order whatever the way: the stop commands while the link lives, then
    // the sockets, sound, clocks, queues and saved files, child windows, panels and the local tab.
    // False when the application ended during one of its waits.
    bool EndActivities(TWayOut way);

    // ---- Screens and overlays ----
    int VideoStandard = 2;  // 1 NTSC, 2 PAL
    int SelectedCamera = 0; // 0..3, 4 quad
    int ScreenCount = 1;
    int LastWidth = 0;
    int FullMode = 0;
    int SavedTop = 0; // the window's place in skin mode
    int SavedLeft = 0;
    int GpsCorner = -1; // -1 off, 0 the shown camera's screen, 1..4 top left, top right, bottom left, right
    BYTE MapPageLoaded = 0;
    std::array<BYTE, 4> CameraCovert{};
    std::array<std::string, 4> CameraTitles;
    // The frame each screen's picture comes from, as the print shows it with the picture: its time
    // text, width and standard. Empty while the screen shows no frame.
    struct TScreenPicture {
        std::string timeText;
        int width = 0;
        int standard = 0;
    };
    std::array<TScreenPicture, 4> ScreenPictures;
    TColor OverlayColor = 0;
    double LastLatitude = 0;
    double LastLongitude = 0;
    std::unique_ptr<TIniFile> SetupIniFile;
    HMODULE AudioLibrary = nullptr;

    // ---- The A/V stream ----
    // The receiver cuts the stream into frames; AvReadSize is the size of the next read it asks for.
    // Frames queued for the step-wise remote playback, oldest first.
    CAvStreamReceiver AvReceiver;
    int AvReadSize = CAvStreamReceiver::kHeaderReadSize;
    AvShowState AvShow;
    // The time text of each channel's last frame.
    std::array<std::string, 4> ChannelTimeTexts;
    // Pictures that did not decode and were skipped.
    DWORD PictureErrors = 0;

    // ---- Recorder link ----
    BYTE PasswordOnlyLogin = 0;
    // The reply to the password came (accepted or refused).
    BYTE PasswordAnswered = 0;
    // The recorder's camera count from the reply to 107; 0 until this recorder has said.
    int MaxCamera = 0;
    int RecorderStatus = 0;
    int RecordState = 0;
    DWORD BackupSizeBytes = 0;
    DWORD BackupSizeKB = 0;
    DWORD McastGroup = 0;
    DWORD McastPort = 0;
    CHeartbeatTicks HeartbeatTicks;
    // The open disk-error box, closed again by the recorder's "disk error cleared".
    TForm* DiskErrorBox = nullptr;

    // ---- Language library and start-up ----
    void FormShow(TObject* sender);
    void FormActivate(TObject* sender);
    int GetLanguageId() const { return LanguageId; }
    // Empty text when the id is missing or no library is loaded.
    std::string LoadLangString(int id) const;
    void GetLocalAddress(std::string& address) const;
    void CliSocketError(TObject* sender);
    void VidScreenMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void BtnAboutClick(TObject* sender);

    // ---- Settings file ----
    void LoadSetupIni();
    void SaveSetupIni();
    // The folder choosers of backups (and of the backups played), stream copies, snapshots and the saved
    // log list start in the folder chosen last for their kind (section "folders" of setup.ini), else the
    // user's videos (pictures for snapshots, documents for the log) folder, else the home folder: never
    // the hidden program folder.
    enum class TChooser { Backup, StreamCopy, Snapshot, LogList };
    std::string ChooserStartFolder(TChooser kind);
    void RememberChosenFolder(TChooser kind, const std::string& folder);

    // ---- Screens, standard and clock ----
    void ApplyVideoStandard(int standard);
    void ApplyOverlayColor(TColor color);
    void ShowSingleCamera(int camera);
    void ShowCameraLayout(int count);
    void HideScreenMarks();
    // The GPS and tacho texts of all four screens emptied.
    void ClearOverlayTexts();
    void MenuItemCam1Click(TObject* sender);
    void MenuItemCam2Click(TObject* sender);
    void MenuItemCam3Click(TObject* sender);
    void MenuItemCam4Click(TObject* sender);
    void MenuItemQuadClick(TObject* sender);
    int GetScreenCount() const { return ScreenCount; }
    int GetSelectedCamera() const { return SelectedCamera; }
    void ShowSelectedCamera();
    void ShowClock();
    void TimerClockTimer(TObject* sender);
    void SetControlsEnabled(bool on);
    void ShowPlaybackControls(bool local);
    // Enables or disables one of the window's skin buttons, which then looks so: a button that cannot act
    // shows its strip's disabled look (the fourth of four frames).
    void EnableSkinButton(TBmButton* button, bool on);
    void ShowFullModeLayout();
    void MenuItemFullModeClick(TObject* sender);
    void MenuItemSkinModeClick(TObject* sender);

    // ---- Live view ----
    void BtnLiveClick(TObject* sender);
    void BtnDisliveClick(TObject* sender);
    void BtnCamera1Click(TObject* sender);
    void BtnCamera2Click(TObject* sender);
    void BtnCamera3Click(TObject* sender);
    void BtnCamera4Click(TObject* sender);
    void BtnQuadClick(TObject* sender);
    // "Print && Save" > Camera k: the print window with screen k's picture, time and title.
    void MenuItemPrintCam1Click(TObject* sender);
    void MenuItemPrintCam2Click(TObject* sender);
    void MenuItemPrintCam3Click(TObject* sender);
    void MenuItemPrintCam4Click(TObject* sender);
    // The client log panel beside the screens.
    void BtnLoglistClick(TObject* sender);
    void RefreshCameraTitles();
    void TimerPlayStateTimer(TObject* sender);
    void TimerAVDataTimer(TObject* sender);
    // The next picture ends the wait of a live or search start.
    void ExpectFirstPicture();

    // ---- The A/V stream ----
    void AVDataCliSocketSessionConnected(TObject* sender, WORD error);
    void AVDataCliSocketDataAvailable(TObject* sender, WORD error);
    void AVDataCliSocketSessionClosed(TObject* sender, WORD error);
    // 1 when the picture is shown, 0 when it could not be decoded (the screen keeps its picture).
    int ShowJpegFrame(const BYTE* data, std::size_t length, TJPEGImage* jpeg, TImage* screen);
    // A frame's picture on screen 0..3, noted as what that screen shows; false, with the screen and its
    // note as they were, when it does not decode.
    bool ShowScreenPicture(int screen, const BYTE* data, std::size_t length, DWORD time, int width,
                           int standard);
    // The empty picture on a screen, or on all four.
    void EmptyScreen(int screen);
    void EmptyScreens();
    void FrameTimeToText(DWORD time, std::string& text) const;

    // ---- Overlays ----
    // Draws a played frame's side data (the frame clocks call it): title, lamps, GPS or tacho texts;
    // follows the GPS position.
    void ShowFrameOverlay(std::span<const BYTE> payload2, DWORD channel);
    void MenuItemGPSONClick(TObject* sender);
    void MenuItemGPSOFFClick(TObject* sender);
    void MenuItemGPSTLClick(TObject* sender);
    void MenuItemGPSTRClick(TObject* sender);
    void MenuItemGPSBLClick(TObject* sender);
    void MenuItemGPSBRClick(TObject* sender);
    void MenuItemTACHOONClick(TObject* sender);
    void MenuItemTACHOOFFClick(TObject* sender);
    void MenuItemCOLORREDClick(TObject* sender);
    void MenuItemCOLORBLUEClick(TObject* sender);
    void MenuItemCOLORYELLOWClick(TObject* sender);
    void SetMapPageLoaded();

    // ---- Window chrome, placement and message boxes ----
    void GetWorkArea(TRect& rect) const { rect = MainWindowRect; }
    // Types 0 OK, 1 OK and Cancel, 4 Yes and No; any other type shows nothing and gives -1.
    int ShowMessageBox(const std::string& text, const std::string& caption, int type);
    int ShowMessageBoxEx(const std::string& text, const std::string& caption, int type, int width, int height,
                         int left, int top);
    void ImgFrame1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ImgFrame2MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ImgFrame3MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ImgHideBtnMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ImgFrame1MouseMove(TObject* sender, TShiftState shift, int x, int y);
    void ImgFrame2MouseMove(TObject* sender, TShiftState shift, int x, int y);
    void ImgFrame3MouseMove(TObject* sender, TShiftState shift, int x, int y);
    void ImgHideBtnMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void BtnMinimizeClick(TObject* sender);
    void TimerDialogPositionTimer(TObject* sender);

    // ---- Recorder link ----
    void BtnConnectClick(TObject* sender);
    void ConnectToQel(const std::string& address, const std::string& port);
    void CliSocketSessionConnected(TObject* sender, WORD error);
    void CliSocketSessionClosed(TObject* sender, WORD error);
    void CliSocketDataAvailable(TObject* sender, WORD error);
    void DisplayConnectionStatus(const std::string& text);
    void BtnDisconnectClick(TObject* sender);
    void TimerHeartBeatTimer(TObject* sender);
    void CloseChildForms();
    // Asks for the recorder database of a medium (0 HDD, 1 CF, 2 SD) and waits up to 300 s until it is
    // stored and the recorder's status allows a search; false otherwise.
    bool RequestDbFile(int medium);
    // Asks for the camera count and video standard without waiting for the reply.
    void RequestMaxCamera();
    void Dispatch(TMessage& message) override;

    // ---- Mode tabs ----
    int ShowLocalMode();
    int ShowLiveMode();
    int ShowSearchMode();
    void btnLocal_mClick(TObject* sender);
    void btnLive_mClick(TObject* sender);
    void btnSer_mClick(TObject* sender);

    // ---- Remote search ----
    void BtnSerClick(TObject* sender);
    bool CheckRecorderStatus();
    void BtnDisserClick(TObject* sender);
    void BtnBackupClick(TObject* sender);
    void BtnBackup_onClick(TObject* sender);
    void BtnRemote_recClick(TObject* sender);
    void BtnRemote_stopClick(TObject* sender);
    void SetCalendarMonth(const std::string& text) { CalendarMonth = text; }
    std::string GetCalendarMonth() const { return CalendarMonth; }
    int GetSearchSource() const { return SearchSource; }
    int GetLocalDbMode() const { return LocalDbMode; }
    void GetDiskRoots(std::string& dbRoot, std::string& avRoot) const {
        dbRoot = DiskDbRoot;
        avRoot = DiskAvRoot;
    }
    // The search start on a downloaded database: has it recordings; then the newest month or files.
    bool QueryQelDbYears();
    void QueryQelDbCalendar();
    // The same on the disk database of a recorder disk on this computer.
    void QueryPyrDbYears();
    void QueryPyrDbCalendar();
    // The recorder's log list, from the setup menu.
    void ShowDeviceLog();
    int SearchSource = 0; // 1 the recorder, 0 a recorder disk on this computer
    int LocalDbMode = 0;
    std::string DiskDbRoot;
    std::string DiskAvRoot;
    std::string CalendarMonth; // yyyymm of the calendar's month
    int SearchMedium = 0;      // of the last database request: 0 HDD, 1 CF, 2 SD

    // ---- Stream saver ----
    // The backup window's span is saved as the recorder streams it.
    void SetBackupMode();
    void SetBackupRange(DWORD lowestSeq, DWORD highestSeq, BackupSpanList spans);
    // pad 1: the last file is filled to 2 MiB and the end of the backup is reported. The recorder is
    // told to stop streaming (115) first.
    void FinishBackupFiles(int pad);
    // The same without telling the recorder, whose stream has already stopped.
    void CloseBackupFiles(int pad);
    void ShowSaverFailure(const TSaverFailure& why);
    // Saving armed into the folder (the program's when empty) up to the span's end (0: no end); the caller
    // says for which activity.
    void ArmSaver(const std::string& folder, DWORD endTime);
    // The search tab's saving of the played stream ends; the playback goes on. `cause`: the failure
    // that ended it, told to the user.
    void EndSearchBackup(const TSaverFailure* cause = nullptr);
    // Where the search tab's saving went last: its folder chooser starts there.
    std::string SearchBackupFolder;
    CStreamSaver Saver;

    // ---- The pictures' connection ----
    // Text: the pictures' connection (its port %s) could not be made, what does not work without it.
    static constexpr int kAvLinkMissing = 60702;
    // Text: a press that needs the pictures while their connection is not open.
    static constexpr int kAvLinkNotOpen = 60703;
    std::string AvLinkMissingText();

    // ---- Files from the recorder ----
    // Text: the file (%s) did not come whole from the recorder.
    static constexpr int kFileNotWhole = 60700;

    // ---- Setup download ----
    void BtnSetupClick(TObject* sender);
    // Every ':' of temp.ini becomes '='; called when a received file is complete.
    void FixTempIniSeparators();

    // ---- Sound and volume ----
    // The decoder object of "g726lib.dll"; none when the library gave none (no sound then).
    CG726Audio* G726Audio = nullptr;
    // The stream's own sound is played too while live view or a remote search shows it.
    BYTE LiveSound = 0;
    bool LoadG726();
    void UnloadG726();
    // Plays the audio ring's record at that index and releases it.
    void PlayAudioRecord(int index);
    // Recorded sound: played in whole blocks forward at normal speed, else the output stopped.
    void PlayAudioData(const BYTE* data, std::size_t length);
    // Every whole block played.
    void PlayAudioBlocks(const BYTE* data, std::size_t length);
    float GetVolume();
    void SetVolume(float percent);
    void UpdateVolumeSlider();
    void TimerVolumeTimer(TObject* sender);
    void SliderVolumeMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);

    // ---- Keyboard shortcuts and map launcher ----
    // Cleared while one key is handled: a key pressed meanwhile is ignored.
    BYTE ShortcutsEnabled = 1;
    BYTE MapReachable = 0;
    BYTE ScriptingRestricted = 0;
    // Whether the map provider can be reached now; empty: a connection is tried (tests answer here).
    std::function<bool()> MapSiteProbe;
    void FormShortCut(TWMKey& message, bool& handled);
    // Up and Down: false while logged in (the key is then not handled).
    bool VolumeKey(bool up);
    void BtnOpenMapClick(TObject* sender);
    void CheckMapAvailability();
    BYTE IsMapReachable() const { return MapReachable; }
    bool IsScriptingRestricted();

    // ---- Firmware upgrade ----
    void BtnUpgradeClick(TObject* sender);
    // count times: sleep 100 ms, then handle what is pending.
    void PumpDelay(int count);
    // `ours`: the installation was this client's.
    void UpgradeFinished(bool ours);
    void UpgradeRefused(DWORD errcode);

    // ---- Debug buttons ----
    // config.ini of the program folder uploaded as kind 1, without the setup pass.
    void Button1Click(TObject* sender);
    // The last multicast group joined again with a buffer of 512000 bytes.
    void Button2Click(TObject* sender);
    void Button3Click(TObject* sender);
    // The play state in the client log.
    void Button5Click(TObject* sender);
    void Button6Click(TObject* sender);
    // The log window and the foreground window moved topmost to (300, 500); the foreground window closed
    // when it is one of this program's windows other than the main window.
    void Button7Click(TObject* sender);
    // The heartbeat on and off.
    void Button11Click(TObject* sender);
    void Button12Click(TObject* sender);
    // A connection to SocketAVDataServer is taken over by SocketSClient.
    void SocketAVDataServerSessionAvailable(TObject* sender, WORD error);

    // ---- Local and remote playback ----
    int PlayState = kPlayStopped;
    int PlaySpeed = 1;
    BYTE PlayForward = 1;
    int LastTransportKey = kKeyFirst;
    BYTE PlayPaused = 0;
    // A recording is open for local playback.
    bool PlaybackFileOpen() const { return Activities.Running(TActivity::LocalPlayback); }
    int CurrentIndexPos = 0;
    int CurrentIndexCount = 0;
    int ClockSecond = 0;
    int ClockStartSecond = 0;
    int ClockFrameSlot = 0;
    std::array<int, 4> ScreenIdleCountdown{};
    // The frame each screen shows, by recording (CQelVideoFile::GetFileKey) and index position; -1 for
    // none. A step passes over what is on its screen already.
    struct TScreenFrame {
        std::size_t file = 0;
        int pos = -1;
    };
    std::array<TScreenFrame, 4> ScreenFrames{};
    PlaybackClockState ForwardClock;
    PlaybackClockState ReverseClock;
    // 0 while the fast button restarts the reader: a click meanwhile is ignored.
    int FastPlayIdle = 1;
    int FastReverseIdle = 1;
    int PlayListPos = 0;
    int FileStandard = 0;
    int FrameWidth = 0;
    BYTE SliderDragging = 0;
    BYTE FolderWalkMode = 0;
    int FileListCount = 0;
    // Frames shown by the frame clock since start, and a hook that sees each one before its picture is
    // freed (tests follow playback through it).
    DWORD FramesShown = 0;
    std::function<void(const QelFrameRecord&)> OnPlaybackFrameShown;
    void BtnPlayClick(TObject* sender);
    void BtnReverseClick(TObject* sender);
    void BtnPauseClick(TObject* sender);
    void BtnStopClick(TObject* sender);
    void BtnFastPlayClick(TObject* sender);
    void BtnFastReverseClick(TObject* sender);
    void BtnNextClick(TObject* sender);
    void BtnPrevClick(TObject* sender);
    void BtnFirstClick(TObject* sender);
    void BtnLastClick(TObject* sender);
    void BtnBack5Click(TObject* sender);
    void RestartPlayback();
    // What Pause and Play do, for the program's own callers: only presses are refused while a wait pumps.
    void PauseTransport();
    void PlayTransport();
    // Stops the reader, leaving one that a disk holds to its thread and going on with a new reader
    // (readers left so are kept until the program ends).
    void StopVideoReader();
    std::vector<CQelVideoFile*> RetiredReaders;
    // At the end: every reader whose thread has ended is freed.
    void ReleaseReaders();
    // With the reader stopped: every screen shows its camera's picture at CurrentIndexPos, or none.
    void ShowStillFrames();
    void PauseClick(TObject* sender);
    void PlayClick(TObject* sender);
    void StepClick(TObject* sender);
    void ShowSpeedInTimeLabels();
    void ShowQueuedFrame();
    void ShowQueuedFrames();
    void MMTimerPlaybackTimer(TObject* sender);
    void MMTimerReverseTimer(TObject* sender);
    void MMTimerPutItemTimer(TObject* sender);
    void ShowNextFrame(bool step);
    void ShowPrevFrame(bool step);
    void ShowVideoRecord(QelFrameRecord& record);
    void OpenPlaybackFile(const std::string& name);
    void ResetScreens();
    void SetLocalDbMode(int mode) { LocalDbMode = mode; }
    void SliderSearchClick(TObject* sender);
    void SliderSearchMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void SliderSearchMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void SliderSearchMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    // The folder whose recordings form the play list, below the recording root; "0" before the first.
    std::string CurrentFolder = "0";
    // Where the folder chooser of local playback starts: the program's folder the first time.
    std::string LocalPlaybackFolder;
    void OpenLocalPlayback();
    void LoadFolderPlayList(const std::string& folder, bool fromStart);
    // ---- Recorder disk on this computer ----
    void BtnSearchClick(TObject* sender);
    void BtnDetectUsbClick(TObject* sender);
    // Closes what plays from the disk and unmounts the volumes this program mounted.
    void ReleaseRecorderDisk();
    // Drive type 0..6, 30 the recording volume "avfiles", 31 the database volume "infofiles".
    int ClassifyDrive(const std::string& root);
    // A root not found is left as it was; volumes that would not mount are kept in DiskMountErrors.
    void FindQelVolumes(std::string& dbRoot, std::string& avRoot);
    // The first, next or previous sub-folder of `folder` from CurrentFolder into CurrentFolder.
    bool FindAdjacentFolder(const std::string& folder, bool first, bool forward);
    // With FolderWalkMode: the next (previous) folder of the recording tree into the play list, its first
    // (last) file opened; false at the edge of the tree.
    bool WalkToAdjacentFolder(bool forward);
    // The opened file at its first or last frame, paused there.
    void ShowFolderEdge(bool first);
    std::vector<std::string> DiskMountErrors;
    // Database mode: play-list entry 0 holds the seq of the recording played, as decimal text; the
    // main window keeps its own copy, since the reader thread chains through the list meanwhile.
    std::string DbPlayEntry;
    // The recording of entry 0 on the recorder disk; empty when there is none. The reader must be stopped.
    std::string GetDbFilePath();
    // The next (or previous) recording of the disk database into entry 0; none: the knob to the end, the
    // copy ended, playback paused, false.
    bool FindNextFileInDb(bool next);
    // Copy of the played stream into "Backup/", moved to a folder of the user's when it ends.
    std::string StreamCopyRoot;
    std::string StreamCopyTarget;
    std::unique_ptr<QelAvFileWriter> StreamCopyWriter;
    void BtnRecStartClick(TObject* sender);
    void BtnRecStopClick(TObject* sender);
    // What REC STOP does, for the program's own end of a copy.
    void StopStreamCopy();
    void WriteStreamCopyFrame(const QelFrameRecord& record);
    // 0 when everything in `source` (a folder, "*.*" allowed at its end) now lies in `destination`.
    int MoveFiles(const std::string& source, const std::string& destination);
    void IntToText(int value, std::string& text) const;

    // ---- Shut-down ----
    // The ways the program is asked to end. The buttons and the window manager's close are refused while
    // the played stream is copied; a signal and the end of the desktop session are not.
    enum class TEndRequest { PowerButton, WindowClose, Signal, SessionEnd };
    // How far the program's end has come.
    enum class TProgramEnd { NotAsked, ShuttingDown, Closing };
    TProgramEnd ProgramEnd() const { return programEnd_; }
    // The orderly end: stop commands, sockets, sound, the recorder disk, the working files, setup.ini,
    // then the window closes. Runs once, whichever way asks first.
    void EndProgram(TEndRequest request);
    void BtnPowerClick(TObject* sender);
    void BtnCloseClick(TObject* sender);
    // The window manager's close takes the power button's road.
    void FormCloseQuery(TObject* sender, bool& canClose);
    // Removes the folder and everything in it; links inside are removed as links, never followed.
    void DeleteFolderTree(const std::string& path);

protected:
    // The command link's hooks.
    TWSocket* CommandSocket() const override { return CliSocket; }
    void SetHeartbeatTimer(bool enabled) override;
    int PasswordLevel() override;
    void ExecuteMsgCommands(TObject* sender, const NetMsgPacket& packet) override;
    void FileProgress(const TReceivedUnit& unit) override;
    void FileFinished(const TReceivedUnit& unit) override;
    void FileAbandoned(const TReceivedUnit& unit) override;

private:
    static const TFormBindings& Bindings();
    void CreateScreens();
    void ApplyLanguageTexts();
    bool LoadLanguageLibrary();
    void PrepareScreens();
    void ShowCamera(int camera);
    void ApplyLayout(const ScreenLayout& layout);
    ScreenLayoutInput LayoutInput() const;
    TPanel* ScreenPanel(int camera) const;
    TLabel* CameraLabel(int camera) const;
    TLabel* MarkLabelA(int camera) const;
    TLabel* MarkLabelM(int camera) const;
    TLabel* GpsLabel(int camera) const;
    TLabel* TachoLabel(int camera) const;
    TLabel* FullTimeLabel(int camera) const;
    TMenuItem* CameraMenuItem(int camera) const;
    // Live view and remote work: the commands' outcomes as the debug list shows them.
    bool LiveCommand(DWORD command);
    void BlankLiveView();
    void AvFrameReceived(const CAvReceivedFrame& frame);
    void SaveStreamFrame(const CAvReceivedFrame& frame);
    void DrainAvStream();
    void ShowGpsLabelOnly(int camera);
    void PrintCamera(int camera);
    void ShowOverlayColor(TMenuItem* item, TColor color);
    void StoreMainWindowRect();
    void DragWindow(TMouseButton button);
    void BringSidePanelsToFront();
    int RunMessageBox(const std::string& text, const std::string& caption, int type, int areaLeft,
                      int areaTop, int areaWidth, int areaHeight);

    // Recorder link.
    enum class TConnectEnd { Connected, Failed, TimedOut, Terminated, Ended };
    TConnectEnd WaitForConnection(TWSocket* socket, bool keepMainDisabled);
    void ResetConnectionState();
    void SendPasswordAndWait(bool optionTwoBox = false);
    void FailLogin(const char* prefix, DWORD command, TWaitEnd end = TWaitEnd::Done);
    void LoginAccepted();
    void LoginRefused();
    void ShowWait();
    void CloseWait();
    void DisarmHeartbeat();
    void CloseLinkSockets();
    void AddDebugLine(const char* prefix, DWORD command);
    void EnableModeTabs(bool on);
    void ClearSearchTimeLabels();
    void ExecuteReply(const NetMsgPacket& reply);
    void ShowRecorderStatus(DWORD status, DWORD recordState);
    void ShowRecordState(DWORD state, bool fromEvent);
    void ExecuteDeviceEvent(DWORD kind, DWORD detail);
    void ShowDiskError(DWORD detail);
    void ExecuteDeviceMessage(const NetMsgPacket& message);
    // The buffer and the pause before the platform's receive buffer is set: 0x100000 bytes and 500 ms as
    // the recorder announces a group.
    void JoinMulticastGroup(DWORD group, DWORD port, DWORD bufferBytes = 0x100000, DWORD pauseMs = 500);
    void ShowModalBox(TForm* box);
    // Mode tabs and remote search: one waited command (5 s) with its debug line. Ended: a way out took
    // the work meanwhile and has told the user; the caller stops quietly.
    enum class TModeReply { TimedOut, Failed, Passed, Ended };
    TModeReply ModeCommand(DWORD command, DWORD arg0);
    // After a wait begun on `tab`: the link went, or a way out left the tab, while it pumped.
    bool WorkEndedMeanwhile(int tab) const;
    bool StatusRefused(bool closeWaitFirst);
    bool LeaveSearchMode(TObject* sender);
    void EndRemoteSearchState();
    void FailDbRequest(int textId, const char* prefix);
    void EndSearchWithoutData();

    // Local playback's shared steps.
    // Clocks off, the reader stopped and its file closed.
    void EndLocalPlayback();
    // A connection to a recorder is being made or is up.
    bool LinkOpen() const;
    // What a local session left running, ended once a new connection is up.
    void EndLocalWork();
    bool RefusedWhileStreamCopy();
    // The transport takes no click while the played stream is copied or the reader fills its rings.
    bool TransportRefused();
    void StopPlaybackClocks();
    // The recorded sound's output on (forward at normal speed) or off.
    void PlaybackSound(bool on);
    void ShowPlaySpeed();
    bool ChoosePlaybackFile(std::string& name);
    bool OpenChosenFile(const std::string& name, bool hideMarks = true);
    void StartReaderAtCurrent(bool setStartSecond);
    // Pumps until the reader has filled a ring to half or stopped; false when local playback ended
    // meanwhile (or the application), and the caller then starts nothing.
    bool WaitForRings();
    void ShowPositionTexts(DWORD time);
    void PlaybackEndOfFile(bool forward);
    bool ReopenAtListEnd(bool forward);
    // Walks a recorder disk on to the adjacent hour folder and plays on from its edge.
    bool ContinueInAdjacentFolder(bool forward);
    void ShowSecondLabels(DWORD time);
    // One forward tick of the clock while the reader delivers sound but no pictures.
    void RunClockWithoutPictures();
    // False when the playback ended while the reader refilled its rings: the step stops there.
    bool StepRestart(bool forward);
    // A step shows the next frame not on its screen yet, across the end of a file.
    void StepFrame(bool forward);
    bool stepShown_ = false;
    void ForgetScreenFrames();
    // Remote search: the plain buttons leave BtnBack5 as it is.
    void RemotePlay(bool touchBack5);
    void RemotePause(bool touchBack5);
    void RemoteStep(bool touchBack5);
    void RemoteStopSearch();
    // A 115 with its 5 s wait and debug line. Ended: a way out ended the search meanwhile and has given
    // the local look; the caller stops there.
    TModeReply RemoteStopCommand();
    bool started_ = false;
    TProgramEnd programEnd_ = TProgramEnd::NotAsked;
    // Closes the window without the shut-down (start-up failed) or after it.
    void CloseProgram();
    // The current copy file gets its index files and is closed; false when that failed.
    bool FinishStreamCopyFile();
    int dialogTimerTicks_ = 0;
    // The A/V handler runs one read at a time; a nested event only asks for another round.
    bool avReading_ = false;
    bool avEventMissed_ = false;
    // The A/V connection was made (a failed attempt also ends in the closed event).
    bool avSessionUp_ = false;
    // The command connection was made (a failed attempt also ends in the closed event).
    bool cmdSessionUp_ = false;
    // How the link was lost when the command connection closes outside a way out of the client's own.
    TWayOut linkLostWay_ = TWayOut::CommandLinkLost;
    int shortReadLines_ = 0;
    // When the picture that ends a start's wait was asked for (tick).
    DWORD firstPictureAskedAt_ = 0;
    DWORD previousDisplayedTime_ = 0;
};

extern TFrmMain* FrmMain;
