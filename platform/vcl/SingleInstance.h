// One running copy of the program per program folder: a lock file in the folder, and a local socket
// by which a later start asks the running copy to bring its windows forward. A lock left by a copy
// that died (killed, crashed) does not count: its process is gone.
#pragma once

#include <memory>
#include <string>

enum class TInstanceClaim {
    // This process has the folder until the guard goes (also when the folder takes no lock file).
    Claimed,
    // Another copy has the folder and has brought its windows forward.
    Raised,
    // Another copy has the folder but did not answer.
    Running,
};

class TInstanceGuard {
public:
    TInstanceGuard();
    ~TInstanceGuard();
    TInstanceGuard(const TInstanceGuard&) = delete;
    TInstanceGuard& operator=(const TInstanceGuard&) = delete;

    // Once per guard. While another copy is asked, messages are handled, for at most `answerMs`
    // (real milliseconds).
    TInstanceClaim Claim(const std::string& programFolder, int answerMs = 3000);

private:
    struct TState;
    std::unique_ptr<TState> state_;
};
