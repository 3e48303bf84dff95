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

#include "platform/core/Exceptions.h"
#include "platform/vcl/Forms.h"

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

void CreateHarbekWindows() {
    Application->CreateForm(FrmMain);
    Application->CreateForm(FrmLog);
    Application->CreateForm(FrmUpdateStatus);
    Application->CreateForm(frmAboutDlg);
    Application->CreateForm(frmMenu);
    Application->CreateForm(frmDevice);
    Application->CreateForm(frmSystem);
    Application->CreateForm(frmMulticast);
    Application->CreateForm(frmNetwork);
    Application->CreateForm(frmCamera);
    Application->CreateForm(frmAlarm);
    Application->CreateForm(frmRecord2);
    Application->CreateForm(frmCalendar);
    Application->CreateForm(frmHourTable);
    Application->CreateForm(frmMinTable);
    Application->CreateForm(FrmWait);
    Application->CreateForm(frmVidstd);
    Application->CreateForm(frmSaveFolder);
    Application->CreateForm(frmCreateFolder);
    Application->CreateForm(frmUpload);
    Application->CreateForm(frmLoglist);
    Application->CreateForm(frmSchedule);
    Application->CreateForm(frmPrint);
    Application->CreateForm(frmTimeTable);
    Application->CreateForm(frmConfig);
    Application->CreateForm(frmSysLog);
    Application->CreateForm(frmFileList);
    Application->CreateForm(frmInfo);
    Application->CreateForm(frmDownload);
    Application->CreateForm(FrmSerDevice);
    Application->CreateForm(FrmFileTable);
    Application->CreateForm(frmSearch);
    Application->CreateForm(frmBackup);
    Application->CreateForm(frmLocalSearch);
    Application->CreateForm(FrmHtmlMap);
}

int RunHarbek() {
    try {
        Application->Initialize();
        CreateHarbekWindows();
        Application->Run();
    } catch (const std::exception& e) {
        Application->ShowException(e);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    return 0;
}
