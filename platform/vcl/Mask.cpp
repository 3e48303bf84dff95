#include "platform/vcl/Mask.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/FormReader.h"

#include <QLineEdit>

std::string TranslateEditMask(const std::string& editMask) {
    if (editMask.empty()) return std::string();
    // The last two ';'-separated fields are "save literals" and the blank character.
    std::string mask = editMask;
    char blank = '_';
    const auto last = mask.rfind(';');
    if (last != std::string::npos && last > 0 && mask[last - 1] != '\\') {
        const std::string blankField = mask.substr(last + 1);
        mask.erase(last);
        if (blankField.size() == 1)
            blank = blankField[0];
        else if (!blankField.empty())
            throw EInvalidArgument(Format("Invalid edit mask \"%s\"", editMask.c_str()));
        const auto save = mask.rfind(';');
        if (save != std::string::npos && save > 0 && mask[save - 1] != '\\') mask.erase(save);
    }
    std::string out;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = mask[i];
        switch (c) {
        case 'L':
            out += 'A';
            break;
        case 'l':
            out += 'a';
            break;
        case 'A':
            out += 'N';
            break;
        case 'a':
            out += 'n';
            break;
        case 'C':
            out += 'X';
            break;
        case 'c':
            out += 'x';
            break;
        case '0':
            out += '9';
            break;
        case '9':
            out += '0';
            break;
        case '#':
            out += '#';
            break;
        case '>':
            if (i + 1 < mask.size() && mask[i + 1] == '<') {
                out += '!';
                ++i;
            } else {
                out += '>';
            }
            break;
        case '<':
            out += '<';
            break;
        case '!':
            break;
        case '\\':
            if (i + 1 >= mask.size())
                throw EInvalidArgument(Format("Invalid edit mask \"%s\"", editMask.c_str()));
            out += '\\';
            out += mask[++i];
            break;
        case '_':
            out += ' ';
            break;
        default:
            // Literals that mean something to the toolkit are escaped.
            if (std::string("AaNnXx90Dd#HhBb><!{}[]").find(c) != std::string::npos) out += '\\';
            out += c;
            break;
        }
    }
    out += ';';
    out += blank;
    return out;
}

TMaskEdit::TMaskEdit(TComponent* owner) : TEdit(owner) {}

void TMaskEdit::SetEditMask(const std::string& value) {
    const std::string translated = TranslateEditMask(value);
    editMask_ = value;
    static_cast<QLineEdit*>(Peer()->inner.data())->setInputMask(vcl_internal::ToQString(translated));
}

std::string TMaskEdit::EditText() const {
    auto* edit = static_cast<QLineEdit*>(Peer()->inner.data());
    return vcl_internal::FromQString(edit->displayText());
}

bool TMaskEdit::ReadProperty(TPropertyReader& r) {
    if (r.Is("EditMask")) {
        SetEditMask(r.String());
        return true;
    }
    return TEdit::ReadProperty(r);
}
