// Answers for everything that would wait for a person: modal forms, message boxes, file and folder
// dialogs and popup menus. With a hook set, nothing is shown and the hook's answer is taken. Without
// one, under Qt's offscreen platform, message boxes and dialogs are not shown either: they give the
// answer of the cancelling button and write a debug line, so no test can hang.
#pragma once

#include "platform/core/Types.h"

#include <functional>
#include <string>

class TForm;
class TPopupMenu;
class TMenuItem;

// Called instead of the modal loop; the form is not shown. Returns the modal result (mrNone means
// the form's own ModalResult, or mrCancel when that is not set either).
using TModalHook = std::function<int(TForm& form)>;
TModalHook SetModalHook(TModalHook hook);

struct TFileDialogRequest {
    bool Save = false;
    std::string Title;
    std::string Filter;
    int FilterIndex = 1;
    std::string DefaultExt;
    std::string InitialDir;
    std::string FileName;
};
// Returns true (with fileName set) for OK, false for Cancel.
using TFileDialogHook = std::function<bool(const TFileDialogRequest& request, std::string& fileName)>;
TFileDialogHook SetFileDialogHook(TFileDialogHook hook);

struct TFolderDialogRequest {
    std::string Caption;
    std::string Root;
    std::string Directory;
};
using TFolderDialogHook = std::function<bool(const TFolderDialogRequest& request, std::string& directory)>;
TFolderDialogHook SetFolderDialogHook(TFolderDialogHook hook);

// Chooses the item a popup menu's user would click (nullptr: the menu was dismissed).
using TPopupMenuHook = std::function<TMenuItem*(TPopupMenu& menu, TPoint screenPoint)>;
TPopupMenuHook SetPopupMenuHook(TPopupMenuHook hook);

namespace vcl_internal {
const TModalHook& ModalHook();
const TFileDialogHook& FileDialogHook();
const TFolderDialogHook& FolderDialogHook();
const TPopupMenuHook& PopupMenuHook();
} // namespace vcl_internal
