// Makes the skin controls known to the form-definition reader by their class names. Each control's
// unit registers all of them when a program holds it; calling it again does nothing.
#pragma once

void RegisterSkinControls();
