// The debug logger that socket components hand their trace lines to: an event, the debug output and a
// log file, each optional, with an optional time stamp. Every operation takes the logger's lock, so
// sockets of several threads may share one logger.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"
#include "platform/core/Threads.h"
#include "platform/vcl/Components.h"

#include <memory>
#include <string>

enum TLogOption {
    loDestEvent,
    loDestFile,
    loDestOutDebug,
    loAddStamp,
    loWsockErr,
    loWsockInfo,
    loWsockDump,
    loSslErr,
    loSslInfo,
    loSslDump,
    loProtSpecErr,
    loProtSpecInfo,
    loProtSpecDump
};
using TLogOptions = TSet<TLogOption>;
enum TLogFileOption { lfoAppend, lfoOverwrite };

using TVeskLogEvent = TEvent<TObject*, TLogOption, const std::string&>;

HARBEK_DECLARE_EXCEPTION(ELoggerException, Exception);

// The local time as "hh:nn:ss:zzz".
std::string VeskLoggerAddTimeStamp();

class TVeskLogger : public TComponent {
public:
    explicit TVeskLogger(TComponent* owner);
    ~TVeskLogger() override;

    // Event, then debug output, then file. LogOption only reaches the event: sources filter with
    // CheckLogOptions before they log.
    void DoDebugLog(TObject* sender, TLogOption logOption, const std::string& msg);
    void OpenLogFile();
    void CloseLogFile();
    bool LogFileOpen() const;

    TLogFileOption LogFileOption() const;
    void SetLogFileOption(TLogFileOption value);
    std::string LogFileName() const;
    // A name that differs only in letter case keeps the open file.
    void SetLogFileName(const std::string& value);
    TLogOptions LogOptions() const;
    void SetLogOptions(TLogOptions value);
    TVeskLogEvent OnVeskLogEvent() const;
    void SetOnVeskLogEvent(const TVeskLogEvent& value);

private:
    void OpenLogFileLocked();
    void CloseLogFileLocked();

    mutable TCriticalSection FLock;
    TLogOptions FLogOptions;
    TVeskLogEvent FOnVeskLogEvent;
    std::string FLogFileName;
    std::unique_ptr<TFileStream> FLogFile;
    TLogFileOption FLogFileOption = lfoAppend;
};
