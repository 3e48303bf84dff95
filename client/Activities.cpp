#include "client/Activities.h"

const char* ActivityName(TActivity activity) {
    switch (activity) {
    case TActivity::LiveView:
        return "live view";
    case TActivity::RemoteSearch:
        return "remote search";
    case TActivity::SearchBackup:
        return "saving the searched stream";
    case TActivity::Backup:
        return "backup";
    case TActivity::SetupPass:
        return "setup pass";
    case TActivity::Upgrade:
        return "firmware upgrade";
    case TActivity::Sound:
        return "sound";
    case TActivity::LocalPlayback:
        return "local playback";
    case TActivity::Link:
        return "link";
    case TActivity::SearchDownload:
        return "database download";
    case TActivity::LocalTask:
        return "local task";
    }
    return "";
}

const char* WayOutName(TWayOut way) {
    switch (way) {
    case TWayOut::Disconnect:
        return "disconnect";
    case TWayOut::PowerOff:
        return "power off";
    case TWayOut::CommandLinkLost:
        return "command link lost";
    case TWayOut::AvLinkLost:
        return "A/V link lost";
    case TWayOut::HeartbeatLost:
        return "heartbeat lost";
    case TWayOut::RemoteWorkEnded:
        return "remote work ended";
    case TWayOut::RecorderBusy:
        return "recorder busy";
    case TWayOut::NewConnect:
        return "new connect";
    }
    return "";
}

bool WayLosesLink(TWayOut way) {
    return way == TWayOut::CommandLinkLost || way == TWayOut::AvLinkLost || way == TWayOut::HeartbeatLost;
}

bool WayClosesLink(TWayOut way) {
    return !WayEndsRemoteTabsOnly(way);
}

bool WayEndsRemoteTabsOnly(TWayOut way) {
    return way == TWayOut::RemoteWorkEnded || way == TWayOut::RecorderBusy;
}

void CActivities::End(TActivity activity) {
    running_.reset(Index(activity));
    if (activity == TActivity::RemoteSearch) {
        RemotePlayState = 0;
        QueueAvFrames = 0;
        AvFrameQueue.Clear();
    }
}

bool CActivities::RefusesPresses() const {
    for (int count : waits_)
        if (count > 0) return true;
    return false;
}
