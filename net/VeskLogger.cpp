#include "net/VeskLogger.h"

#include "platform/core/Debug.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"

#include <cerrno>
#include <sys/file.h>

namespace {

class TLocked {
public:
    explicit TLocked(TCriticalSection& lock) : lock_(lock) { lock_.Enter(); }
    ~TLocked() { lock_.Leave(); }
    TLocked(const TLocked&) = delete;
    TLocked& operator=(const TLocked&) = delete;

private:
    TCriticalSection& lock_;
};

} // namespace

std::string VeskLoggerAddTimeStamp() {
    const SYSTEMTIME t = GetLocalTime();
    return Format("%02u:%02u:%02u:%03u", t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

TVeskLogger::TVeskLogger(TComponent* owner) : TComponent(owner) {}

TVeskLogger::~TVeskLogger() {
    SetDestroying();
    TLocked lock(FLock);
    CloseLogFileLocked();
}

void TVeskLogger::DoDebugLog(TObject* sender, TLogOption logOption, const std::string& msg) {
    TLocked lock(FLock);
    if (ComponentState().Contains(csDestroying)) return;
    auto line = [&] { return FLogOptions.Contains(loAddStamp) ? VeskLoggerAddTimeStamp() + " " + msg : msg; };
    if (FLogOptions.Contains(loDestEvent) && FOnVeskLogEvent) FOnVeskLogEvent(sender, logOption, line());
    if (FLogOptions.Contains(loDestOutDebug)) OutputDebugString(line());
    if (FLogOptions.Contains(loDestFile)) {
        if (!FLogFile) OpenLogFileLocked();
        const std::string text = line() + "\r\n";
        FLogFile->WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    }
}

void TVeskLogger::OpenLogFile() {
    TLocked lock(FLock);
    OpenLogFileLocked();
}

void TVeskLogger::CloseLogFile() {
    TLocked lock(FLock);
    CloseLogFileLocked();
}

bool TVeskLogger::LogFileOpen() const {
    TLocked lock(FLock);
    return FLogFile != nullptr;
}

void TVeskLogger::OpenLogFileLocked() {
    CloseLogFileLocked();
    if (FLogFileName.empty()) throw ELoggerException("File name empty");
    if (!FileExists(FLogFileName)) {
        TFileStream created(FLogFileName, fmCreate);
    }
    auto file = std::make_unique<TFileStream>(FLogFileName, fmOpenReadWrite | fmShareDenyWrite);
    // Sharing is advisory here: another logger of any process that writes the same file is kept out.
    if (::flock(file->Handle(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        throw EFOpenError(
            Format("Cannot open file \"%s\". The file is in use by another writer", FLogFileName.c_str()));
    if (FLogFileOption == lfoAppend)
        file->Seek(0, soEnd);
    else
        file->SetSize(0);
    FLogFile = std::move(file);
}

void TVeskLogger::CloseLogFileLocked() {
    FLogFile.reset();
}

TLogFileOption TVeskLogger::LogFileOption() const {
    TLocked lock(FLock);
    return FLogFileOption;
}

void TVeskLogger::SetLogFileOption(TLogFileOption value) {
    TLocked lock(FLock);
    FLogFileOption = value;
}

std::string TVeskLogger::LogFileName() const {
    TLocked lock(FLock);
    return FLogFileName;
}

void TVeskLogger::SetLogFileName(const std::string& value) {
    TLocked lock(FLock);
    const bool samePath = SameText(value, FLogFileName);
    FLogFileName = value;
    if (!samePath) CloseLogFileLocked();
}

TLogOptions TVeskLogger::LogOptions() const {
    TLocked lock(FLock);
    return FLogOptions;
}

void TVeskLogger::SetLogOptions(TLogOptions value) {
    TLocked lock(FLock);
    FLogOptions = value;
}

TVeskLogEvent TVeskLogger::OnVeskLogEvent() const {
    TLocked lock(FLock);
    return FOnVeskLogEvent;
}

void TVeskLogger::SetOnVeskLogEvent(const TVeskLogEvent& value) {
    TLocked lock(FLock);
    FOnVeskLogEvent = value;
}
