#include "client/HarbekWindows.h"

#include "client/AboutDlg.h"
#include "client/Wait.h"
#include "client/formlog.h"
#include "client/formupdatestat.h"
#include "client/main.h"
#include "playback/Backup.h"
#include "playback/FileList.h"
#include "playback/FileTable.h"
#include "playback/HtmlMap.h"
#include "playback/LocalSearch.h"
#include "playback/Print.h"
#include "playback/SearchDevice.h"
#include "playback/download.h"
#include "recdb/Calendar.h"
#include "recdb/HourTable.h"
#include "recdb/Loglist.h"
#include "recdb/MinTable.h"
#include "recdb/Search.h"
#include "setup/Alarm.h"
#include "setup/Camera.h"
#include "setup/Config.h"
#include "setup/CreateFolder.h"
#include "setup/Device.h"
#include "setup/Info.h"
#include "setup/Menu.h"
#include "setup/Multicast.h"
#include "setup/Network.h"
#include "setup/Record2.h"
#include "setup/SaveFolder.h"
#include "setup/Schedule.h"
#include "setup/Syslog.h"
#include "setup/System.h"
#include "setup/TimeTable.h"
#include "setup/Upload.h"
#include "setup/Vidstd.h"

#include "client/ProgramStart.h"

#include "platform/core/AppPaths.h"
#include "platform/core/Exceptions.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SingleInstance.h"

const std::vector<std::string>& HarbekWindowOrder() {
    static const std::vector<std::string> order{
        "TFrmMain",      "TFrmLog",      "TFrmUpdateStatus", "TfrmAboutDlg",     "TfrmMenu",
        "TfrmDevice",    "TfrmSystem",   "TfrmMulticast",    "TfrmNetwork",      "TfrmCamera",
        "TfrmAlarm",     "TfrmRecord2",  "TfrmCalendar",     "TfrmHourTable",    "TfrmMinTable",
        "TFrmWait",      "TfrmVidstd",   "TfrmSaveFolder",   "TfrmCreateFolder", "TfrmUpload",
        "TfrmLoglist",   "TfrmSchedule", "TfrmPrint",        "TfrmTimeTable",    "TfrmConfig",
        "TfrmSysLog",    "TfrmFileList", "TfrmInfo",         "TfrmDownload",     "TFrmSerDevice",
        "TFrmFileTable", "TfrmSearch",   "TfrmBackup",       "TfrmLocalSearch",  "TFrmHtmlMap"};
    return order;
}

namespace {

template <class T>
void Make(TWindowStart start, TFormVar<T>& window) {
    if (start == TWindowStart::AllAtOnce)
        Application->CreateForm(window);
    else
        Application->DeferForm(window);
}

} // namespace

void CreateHarbekWindows(TWindowStart start) {
    Application->CreateForm(FrmMain);
    Make(start, FrmLog);
    Make(start, FrmUpdateStatus);
    Make(start, frmAboutDlg);
    Make(start, frmMenu);
    Make(start, frmDevice);
    Make(start, frmSystem);
    Make(start, frmMulticast);
    Make(start, frmNetwork);
    Make(start, frmCamera);
    Make(start, frmAlarm);
    Make(start, frmRecord2);
    Make(start, frmCalendar);
    Make(start, frmHourTable);
    Make(start, frmMinTable);
    Make(start, FrmWait);
    Make(start, frmVidstd);
    Make(start, frmSaveFolder);
    Make(start, frmCreateFolder);
    Make(start, frmUpload);
    Make(start, frmLoglist);
    Make(start, frmSchedule);
    Make(start, frmPrint);
    Make(start, frmTimeTable);
    Make(start, frmConfig);
    Make(start, frmSysLog);
    Make(start, frmFileList);
    Make(start, frmInfo);
    Make(start, frmDownload);
    Make(start, FrmSerDevice);
    Make(start, FrmFileTable);
    Make(start, frmSearch);
    Make(start, frmBackup);
    Make(start, frmLocalSearch);
    Make(start, FrmHtmlMap);
}

int RunHarbek() {
    // Held until the program ends: a later start on the same folder finds this one.
    TInstanceGuard instance;
    try {
        Application->Initialize();
        switch (instance.Claim(ProgramFolder())) {
        case TInstanceClaim::Claimed:
            break;
        case TInstanceClaim::Raised:
            return 0;
        case TInstanceClaim::Running:
            Application->MessageBox(StartupLangString(60400), StartupLangString(60401), MB_OK);
            return 1;
        }
        CreateHarbekWindows(TWindowStart::MainFirst);
        Application->Run();
    } catch (const std::exception& e) {
        Application->ShowException(e);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    return 0;
}
