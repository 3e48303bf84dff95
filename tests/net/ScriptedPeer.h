// A far end that plays a script on a thread of its own, so that the test thread stays free to pump the
// component's events: accept one connection, then read, send, pause and close as told. Plain system
// sockets on 127.0.0.1, kept out of the translation units that see the Winsock names. Every wait is
// bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace netpeer {

class ScriptedPeer {
public:
    ScriptedPeer();
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    std::uint16_t Port() const;

    // Steps, run in order once Start is called.
    // Reads `count` bytes; fewer when the connection closes or the time runs out.
    ScriptedPeer& Read(std::size_t count);
    ScriptedPeer& Send(const std::string& bytes);
    ScriptedPeer& Pause(int milliseconds);
    ScriptedPeer& Close();
    ScriptedPeer& Reset();
    // Notes whether the client closes the connection within the time.
    ScriptedPeer& ExpectClose();

    void Start();
    bool Finished() const;
    // What each Read step received, in order.
    std::vector<std::string> Reads() const;
    bool SawClose() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace netpeer
