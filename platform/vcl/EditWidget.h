// Platform-internal: the widget behind TEdit.
//
// A typed key reaches the control's key filter (OnKeyPress) before the widget sees it. Text that comes
// in any other way (pasted by Ctrl+V or Shift+Insert, by the context menu's Paste or the middle button,
// dropped, composed by an input method, or a key that types more than one byte) passes the same filter
// character by character before it is inserted; a road that no key release follows then gives the
// control a key-up with key 0, where a filter tells the user about what it refused.
#pragma once

#include <QLineEdit>

#include <functional>

class TWinControl;

namespace vcl_internal {

class TControlPeer;

// What of `text` the key filter lets in. Each character is offered as a typed key: one below 128 as
// itself, any other as the first byte of its UTF-8 form, and it is kept when the filter passes it
// unchanged, replaced when the filter hands back another printable character below 128, dropped when
// the filter swallows it (sets it to 0). Control characters (line breaks, tabs) never reach a
// one-line field, so they are dropped before the filter sees them.
QString FilterInsertedText(const QString& text, const std::function<bool(char&)>& keyPress);

class TEditWidget : public QLineEdit {
public:
    explicit TEditWidget(TWinControl* control);

    // The object name of the context menu's Paste while the menu is open.
    static constexpr const char* kPasteActionName = "edit-paste";

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // nullptr once the control went (its peer outlives it while one of its events runs).
    TWinControl* Control() const;
    // The filtered text inserted at the caret (over the selection); with `released`, the key-up that
    // a typed key would have had.
    void InsertFiltered(const QString& text, bool released);
    QString Filtered(const QString& text);
    void KeyUpAfter();
    TControlPeer* peer_;
};

} // namespace vcl_internal
