// What every setup window does the same way: the program folder the setup files live in, language
// texts, the font and placement when shown, message boxes and the main window's enabled state.
#pragma once

#include <string>

class TControl;
class TForm;

namespace setup_pages {

// The program folder with its trailing '/'.
std::string SetupFolder();
// The language text of the id; empty without a main window or a table.
std::string LangText(int id);
// Replaces the control's caption with the language text when the table has one.
void SetLangCaption(TControl* control, int id);
// Font by the language id, then centred on the main window and topmost.
void PreparePage(TForm* form);
// The main window's message box (type 0 OK, 1 OK/Cancel, 4 Yes/No); -1 without a main window.
int SetupBox(const std::string& text, const std::string& caption, int type);
// The same over a window's own bounds.
int SetupBoxOver(TForm* form, const std::string& text, const std::string& caption, int type);
void EnableMainWindow(bool enabled);

} // namespace setup_pages
