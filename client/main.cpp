#include "client/main.h"

#include "client/AboutDlg.h"
#include "client/Wait.h"
#include "client/formlog.h"
#include "client/formupdatestat.h"
#include "formats/SetupIni.h"

#include "controls/imgframe.h"
#include "net/WSocket.h"
#include "playback/Qelvidfile.h"

#include "platform/core/AppPaths.h"
#include "platform/core/IniFiles.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/Jpeg.h"
#include "platform/win/Modules.h"

TFrmMain* FrmMain = nullptr;

TFrmMain::TFrmMain(TComponent* owner) : TForm(owner) {
    LoadDefinition("main", Bindings());
    // The window is disabled while it waits for the recorder; the power and close buttons end any wait.
    KeepInputWhileDisabled(BtnPower);
    KeepInputWhileDisabled(BtnClose);
    VideoReader = new CQelVideoFile();
    JpegImage = new TJPEGImage();
    CreateScreens();
    CliSocket = TCustomWSocket::Create<TWSocket>(this);
    CliSocket->OnError = TNotifyEvent(this, &TFrmMain::CliSocketError);
    CliSocket->OnSessionConnected = TSessionConnected(this, &TFrmMain::CliSocketSessionConnected);
    CliSocket->OnSessionClosed = TSessionClosed(this, &TFrmMain::CliSocketSessionClosed);
    CliSocket->OnDataAvailable = TDataAvailable(this, &TFrmMain::CliSocketDataAvailable);
    CliSocket->OnSendData = TSendData(this, &TFrmMain::CliSocketSendData);
    CliSocket->OnDataSent = TDataSent(this, &TFrmMain::CliSocketDataSent);
    AVDataCliSocket = TCustomWSocket::Create<TWSocket>(this);
    // One read per notification, sized by the receiver; waiting data is announced again.
    AVDataCliSocket->SetComponentOptions(TWSocketOptions{wsoNoReceiveLoop});
    AVDataCliSocket->OnSessionConnected = TSessionConnected(this, &TFrmMain::AVDataCliSocketSessionConnected);
    AVDataCliSocket->OnDataAvailable = TDataAvailable(this, &TFrmMain::AVDataCliSocketDataAvailable);
    AVDataCliSocket->OnSessionClosed = TSessionClosed(this, &TFrmMain::AVDataCliSocketSessionClosed);
    AvReceiver.SetSink([this](const CAvReceivedFrame& frame) { AvFrameReceived(frame); });
    SocketMcast = TCustomWSocket::Create<TWSocket>(this);
    SocketAVDataServer = TCustomWSocket::Create<TWSocket>(this);
    SocketAVDataServer->OnSessionAvailable =
        TSessionAvailable(this, &TFrmMain::SocketAVDataServerSessionAvailable);
    SocketSClient = TCustomWSocket::Create<TWSocket>(this);

    MenuItemCam1Click(this);
    VideoReader->LoadRegistrySettings();
    FramesPerRound = VideoReader->GetFramesPerRound();
    RingCapacity = 4 * FramesPerRound;
    RepeatPlay = VideoReader->GetRepeat();
    UpdateVolumeSlider();

    LastLatitude = kDefaultLatitude;
    LastLongitude = kDefaultLongitude;
    ProgramFolder = ::ProgramFolder();
}

TFrmMain::~TFrmMain() {
    if (VideoReader != nullptr) StopVideoReader();
    if (CliSocket != nullptr) {
        // Closing it below must not run the connection's handlers on a window being taken down.
        CliSocket->OnSessionConnected = nullptr;
        CliSocket->OnSessionClosed = nullptr;
        CliSocket->OnDataAvailable = nullptr;
        CliSocket->OnSendData = nullptr;
        CliSocket->OnDataSent = nullptr;
    }
    if (AVDataCliSocket != nullptr) {
        AVDataCliSocket->OnSessionConnected = nullptr;
        AVDataCliSocket->OnDataAvailable = nullptr;
        AVDataCliSocket->OnSessionClosed = nullptr;
    }
    if (SocketAVDataServer != nullptr) SocketAVDataServer->OnSessionAvailable = nullptr;
    for (TWSocket** socket :
         {&SocketSClient, &SocketAVDataServer, &SocketMcast, &AVDataCliSocket, &CliSocket}) {
        if (*socket == nullptr) continue;
        (*socket)->Free();
        *socket = nullptr;
    }
    for (TImage*& screen : VidScreen) {
        delete screen;
        screen = nullptr;
    }
    delete JpegImage;
    JpegImage = nullptr;
    ReleaseReaders();
    SetupIniFile.reset();
    UnloadG726();
    if (LangModule != nullptr) FreeLibrary(LangModule);
    LangModule = nullptr;
    if (FrmMain == this) FrmMain = nullptr;
}

void TFrmMain::CreateScreens() {
    TPanel* panels[] = {Panel1, Panel2, Panel3, Panel4};
    for (int i = 0; i < 4; ++i) {
        auto* screen = new TImage(this);
        screen->SetName(Format("VidScreen_%d", i));
        screen->SetParent(panels[i]);
        screen->SetStretch(true);
        screen->SetTag(i);
        screen->OnMouseDown = TMouseEvent(this, &TFrmMain::VidScreenMouseDown);
        // Behind the camera's title, marks and overlay texts.
        screen->SendToBack();
        VidScreen[static_cast<std::size_t>(i)] = screen;
    }
}

void TFrmMain::VidScreenMouseDown(TObject* sender, TMouseButton, TShiftState, int, int) {
    if (auto* screen = dynamic_cast<TImage*>(sender)) SelectedCamera = static_cast<int>(screen->Tag());
}

void TFrmMain::FormActivate(TObject*) {
    // The windows that must stay above the main window while they are up.
    static const char* const kKeptInFront[] = {"TFrmLog",  "TfrmMenu",         "TfrmAboutDlg",
                                               "TFrmWait", "TFrmUpdateStatus", "TfrmDownload"};
    for (const char* className : kKeptInFront) {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TForm* form = Screen->Forms(i);
            if (form->ClassName() == className && form->Visible()) form->BringToFront();
        }
    }
    StoreMainWindowRect();
}

void TFrmMain::StoreMainWindowRect() {
    MainWindowRect = BoundsRect();
}

void TFrmMain::CliSocketError(TObject* sender) {
    const auto* socket = dynamic_cast<const TWSocket*>(sender);
    if (socket == nullptr) socket = CliSocket;
    const int error = socket != nullptr ? socket->LastError() : 0;
    // untranslated: the socket layer's own error text
    ShowMessage(Format("Error %d: %s", error, WSocketErrorDesc(error).c_str()));
}

void TFrmMain::BtnAboutClick(TObject*) {
    if (frmAboutDlg == nullptr) return;
    frmAboutDlg->GetVersionInfo(frmAboutDlg);
    frmAboutDlg->ShowModal();
}
