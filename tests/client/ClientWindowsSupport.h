// What the tests of the client's windows share: a program folder of their own, the resources of the
// build tree, an English system, a registry file of their own and the audio library on demand.
#pragma once

#include "client/AboutDlg.h"
#include "client/Wait.h"
#include "client/formlog.h"
#include "client/formupdatestat.h"
#include "client/main.h"

#include "tests/support/TestSupport.h"

#include "platform/vcl/FormTesting.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace client_tests {

// Whether LoadLibrary finds "g726lib.dll" (the program entry registers it; the tests decide).
void SetAudioLibraryPresent(bool present);
// The built-in sound library with its entry points, playing into no device (on); the device back (off).
void UseBuiltInSoundWithoutDevice(bool on);
// Every window variable of the program back to none, as after the application took its windows down.
void ForgetHarbekWindows();

// Pixels of the form's picture inside the control, `inset` pixels in from its edges, that are of another
// colour than most of them: what the control's face shows (text, a mark, a level); 0 when it is blank.
int InkIn(const form_testing::TSnapshot& picture, TForm* form, TControl* control, int inset = 3);

class ClientWindows : public ::testing::Test {
public:
    static std::string BuildResources();
    // <build>/snapshots/client/<name>.png
    static std::string SnapshotPath(const std::string& name);

protected:
    void SetUp() override;
    void TearDown() override;

    // The client's own windows (main, connect, upgrade progress, about, wait), in creation order.
    void CreateClientWindows();
    // Shows the main window, which runs start-up.
    void StartMain();
    void SetLanguageId(const char* id);
    // A resource root with forms and skins but without language tables.
    std::string ResourceRootWithoutLanguages();
    std::string Home() const { return home_->Str(); }
    std::string HomeFile(const std::string& name) const { return home_->File(name); }

private:
    std::unique_ptr<testing_support::TempDir> home_;
    std::unique_ptr<testing_support::TempDir> scratch_;
    std::vector<std::unique_ptr<testing_support::ScopedEnv>> env_;
    std::string savedRoot_;
};

} // namespace client_tests
