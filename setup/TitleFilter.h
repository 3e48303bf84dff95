// The key filter of the title fields (system and camera pages): a refused key, typed or pasted, never
// reaches the field, and the user is told once its key is released (or the paste is done).
#pragma once

#include "platform/core/Types.h"

#include <string>

class TEdit;

// What a user may type into a title field. A longer title from the recorder's file is shown whole, and
// the field then takes that many.
inline constexpr int kTitleLength = 9;
void ShowTitle(TEdit* edit, const std::string& title);

struct TTitleFilter {
    // The title's length before the last key went down.
    int LengthBefore = 0;
    BYTE InvalidKey = 0;

    void KeyDown(TEdit* edit);
    // Swallows (sets to 0) a key the title may not hold and marks it; the field's editing commands
    // (Ctrl+A, Ctrl+C, Ctrl+V, ...) pass. Pasted text comes here too, one character at a time.
    void KeyPress(char& key);
    // Tells the user about a refused key (box text 59829 with that caption); true when it did.
    bool KeyUp(int captionId);
};
