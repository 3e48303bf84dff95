// Edits with an input mask.
#pragma once

#include "platform/vcl/StdCtrls.h"

#include <string>

// "mask;save;blank" of the class library as the toolkit's input mask ("" for an empty mask). Raises
// EInvalidArgument for a mask the toolkit cannot express.
std::string TranslateEditMask(const std::string& editMask);

class TMaskEdit : public TEdit {
public:
    explicit TMaskEdit(TComponent* owner);

    const std::string& EditMask() const { return editMask_; }
    void SetEditMask(const std::string& value);
    // The text as shown, with the mask's literals and blanks.
    std::string EditText() const;

    bool ReadProperty(TPropertyReader& reader) override;

private:
    std::string editMask_;
};
