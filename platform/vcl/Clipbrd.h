// The desktop's clipboard for pictures. Under a window system other programs see what is put there;
// offscreen the clipboard lives inside the program.
//     Clipboard()->Assign(bitmap);     // copy
//     picture->Assign(Clipboard());    // paste (a TBitmap32 takes the clipboard itself)
#pragma once

#include "platform/vcl/Components.h"

inline constexpr WORD CF_BITMAP = 2;

class TClipboard : public TPersistent {
public:
    // A TBitmap, TPicture or other graphic goes on the clipboard as one picture, with its alpha when
    // it has one (a pf32bit bitmap, an icon); an empty one clears the clipboard. Anything else raises
    // EConvertError.
    void Assign(const TPersistent* source) override;
    // Whether a picture (CF_BITMAP) is there; false for any other format.
    bool HasFormat(WORD format) const;
    void Clear();

protected:
    // Into a TPicture (as a TBitmap) or a TBitmap: pf32bit when the picture has alpha, else pf24bit.
    // Raises EInvalidGraphic ("Unsupported clipboard format") when the clipboard holds no picture.
    void AssignTo(TPersistent* dest) const override;
};

// The program's clipboard object, created on first use.
TClipboard* Clipboard();
