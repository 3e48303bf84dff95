// The setup windows beside the client's own, logged in to a simulated recorder whose store holds a
// recorder's config.ini; helpers to run a setup pass and read what reached the files and the recorder.
#pragma once

#include "tests/client/LoginRig.h"

#include <optional>
#include <string>

namespace setup_test {

// A config.ini as a recorder writes it: CRLF lines, one "config" section with keys of every page and
// recording keys the pages never touch.
std::string RecorderConfigIni();

// A small tmpfs mounted over a folder while it lives, to fill or make read-only: what a disk does to
// the files the client keeps there. Mounting needs root; `Why` says what stands in the way otherwise.
class SmallDisk {
public:
    explicit SmallDisk(std::string folder);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Mounted() const { return why_.empty(); }
    const std::string& Why() const { return why_; }
    // Takes every byte left; Free gives them back.
    void Fill();
    void Free();
    void ReadOnly(bool on);

private:
    std::string folder_;
    std::string why_;
};

class PagesRig : public client_tests::LoginRig {
protected:
    void SetUp() override;

    // A recorder whose store serves this config.ini.
    recsim::RecSim& StartRecorder(const std::string& configIni = RecorderConfigIni(),
                                  recsim::RecSimOptions options = client_tests::QuickSimOptions());
    // Logged in as administrator to a fresh recorder, the setup button pressed.
    recsim::RecSim& OpenSetupMenu(const std::string& configIni = RecorderConfigIni());
    // config.ini (or another file) of the program folder, whole; "<missing>" when absent.
    std::string ProgramFile(const std::string& name) const;
    void WriteProgramFile(const std::string& name, const std::string& bytes) const;
    // The file as it is, with the key's line replaced, added after the last "config" key or removed.
    static std::string WithKey(const std::string& ini, const std::string& key,
                               const std::optional<std::string>& value);
    // Answers the next Yes/No box with Yes.
    void AnswerYes();

    std::string store_;

private:
    std::unique_ptr<testing_support::TempDir> storeDir_;
};

} // namespace setup_test
