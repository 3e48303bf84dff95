#include "setup/TitleFilter.h"

#include "setup/PageSupport.h"
#include "setup/SetupRules.h"

#include "platform/vcl/StdCtrls.h"

#include <algorithm>

void ShowTitle(TEdit* edit, const std::string& title) {
    edit->SetMaxLength(std::max(kTitleLength, static_cast<int>(title.size())));
    edit->SetText(title);
}

void TTitleFilter::KeyDown(TEdit* edit) {
    LengthBefore = static_cast<int>(edit->Text().size());
}

void TTitleFilter::KeyPress(char& key) {
    // Ctrl+letter keys come as control characters: the field's own editing commands (select all, copy,
    // cut, paste, undo), never characters of the title. What a paste brings comes here character by
    // character before it reaches the field.
    const bool editingCommand = static_cast<unsigned char>(key) < 0x20;
    if (editingCommand || TitleKeyAllowed(key)) return;
    InvalidKey = 1;
    key = 0;
}

bool TTitleFilter::KeyUp(int captionId) {
    if (InvalidKey == 0) return false;
    setup_pages::SetupBox(setup_pages::LangText(59829), setup_pages::LangText(captionId), 0);
    InvalidKey = 0;
    return true;
}
