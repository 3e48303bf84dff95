#include "platform/vcl/EditWidget.h"

#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/Controls.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

namespace vcl_internal {

namespace {

bool Printable(char32_t c) {
    return c >= 0x20 && c != 0x7F;
}

char Utf8LeadByte(char32_t c) {
    const QByteArray bytes = QString::fromUcs4(&c, 1).toUtf8();
    return bytes.isEmpty() ? '\0' : bytes[0];
}

} // namespace

QString FilterInsertedText(const QString& text, const std::function<bool(char&)>& keyPress) {
    QString out;
    for (const char32_t c : text.toUcs4()) {
        if (!Printable(c)) continue;
        const char offered = c < 0x80 ? static_cast<char>(c) : Utf8LeadByte(c);
        char key = offered;
        if (!keyPress(key) || key == 0) continue;
        if (key == offered)
            out += QString::fromUcs4(&c, 1);
        else if (static_cast<unsigned char>(key) < 0x80 && Printable(static_cast<unsigned char>(key)))
            out += QChar(key);
    }
    return out;
}

TEditWidget::TEditWidget(TWinControl* control) : peer_(control->Peer()) {}

TWinControl* TEditWidget::Control() const {
    return static_cast<TWinControl*>(peer_->control);
}

QString TEditWidget::Filtered(const QString& text) {
    return FilterInsertedText(text, [this](char& key) {
        bool passed = false;
        // A control that went while its filter ran takes nothing more.
        if (Control()) Guarded([&] { passed = Control()->HandleKeyPress(key); });
        return passed && Control() != nullptr;
    });
}

void TEditWidget::KeyUpAfter() {
    if (!Control()) return;
    WORD none = 0;
    Guarded([&] { Control()->HandleKeyUp(none, TShiftState()); });
}

void TEditWidget::InsertFiltered(const QString& text, bool released) {
    if (isReadOnly() || !Control()) return;
    TPeerEventScope scope(peer_);
    const QString filtered = Filtered(text);
    if (!Control()) return;
    // Nothing let in leaves a selection as it was.
    if (!filtered.isEmpty()) insert(filtered);
    if (released) KeyUpAfter();
}

void TEditWidget::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::Paste)) {
        InsertFiltered(QGuiApplication::clipboard()->text(QClipboard::Clipboard), false);
        e->accept();
        return;
    }
    // A key of one byte went through the filter on its way here; one that types more did not.
    const QString text = e->text();
    if (!text.isEmpty() && Printable(text.at(0).unicode()) && text.toUtf8().size() > 1) {
        InsertFiltered(text, false);
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TEditWidget::mouseReleaseEvent(QMouseEvent* e) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (e->button() == Qt::MiddleButton && clipboard->supportsSelection() &&
        rect().contains(e->position().toPoint())) {
        if (!isReadOnly()) {
            deselect();
            InsertFiltered(clipboard->text(QClipboard::Selection), true);
        }
        e->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void TEditWidget::contextMenuEvent(QContextMenuEvent* e) {
    // The menu belongs to the widget and goes with it.
    QPointer<QMenu> menu = createStandardContextMenu();
    // The toolkit's Paste, sent through the filter instead.
    for (QAction* action : menu->actions()) {
        const bool paste = QObject::disconnect(action, &QAction::triggered, this, &QLineEdit::paste) ||
                           QObject::disconnect(action, SIGNAL(triggered()), this, SLOT(paste())) ||
                           QObject::disconnect(action, SIGNAL(triggered(bool)), this, SLOT(paste()));
        if (!paste) continue;
        action->setObjectName(kPasteActionName);
        QObject::connect(action, &QAction::triggered, this, [this] {
            InsertFiltered(QGuiApplication::clipboard()->text(QClipboard::Clipboard), true);
        });
    }
    QPointer<TEditWidget> guard(this);
    menu->exec(e->globalPos());
    if (menu) delete menu.data();
    if (guard) e->accept();
}

void TEditWidget::dropEvent(QDropEvent* e) {
    if (!e->mimeData()->hasText() || isReadOnly()) {
        QLineEdit::dropEvent(e);
        return;
    }
    TPeerEventScope scope(peer_);
    QMimeData filtered;
    filtered.setText(Filtered(e->mimeData()->text()));
    if (!Control()) return;
    QDropEvent drop(e->position(), e->possibleActions(), &filtered, e->buttons(), e->modifiers(), e->type());
    drop.setDropAction(e->dropAction());
    QLineEdit::dropEvent(&drop);
    e->setDropAction(drop.dropAction());
    e->setAccepted(drop.isAccepted());
    KeyUpAfter();
}

void TEditWidget::inputMethodEvent(QInputMethodEvent* e) {
    if (e->commitString().isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    TPeerEventScope scope(peer_);
    const QString filtered = Filtered(e->commitString());
    if (!Control()) return;
    QInputMethodEvent composed(e->preeditString(), e->attributes());
    composed.setCommitString(filtered, e->replacementStart(), e->replacementLength());
    QLineEdit::inputMethodEvent(&composed);
    KeyUpAfter();
}

} // namespace vcl_internal
