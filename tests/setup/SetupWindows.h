// What the setup window tests share: the resource folder, a fixture that leaves no application state
// behind, and the table of every setup window with the way to create it.
#pragma once

#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Forms.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace setup_test {

struct SetupWindow {
    std::string unit;
    std::function<TForm*(TComponent* owner)> create;
};

// In the order the program creates them.
const std::vector<SetupWindow>& SetupWindows();

// The resource root the program would use: the build's staged resources when they exist.
std::string ResourceRoot();

// Where the pictures of the windows go, under the build folder.
std::string SnapshotFolder();

class SetupWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    TForm* Create(const std::string& unit);

private:
    std::string previousRoot_;
};

// Every control of the form's definition (any depth), in creation order.
std::vector<TControl*> ControlsOf(TForm* form);

} // namespace setup_test
