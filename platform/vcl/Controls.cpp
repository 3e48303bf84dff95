#include "platform/vcl/Controls.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/FormsInternal.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/PropertyReaders.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

using vcl_internal::TControlPeer;

namespace {
TControl* gCaptureControl = nullptr;
} // namespace

Qt::CursorShape vcl_internal::QtCursorShape(int cursor) {
    switch (cursor) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
        return Qt::WaitCursor;
    case crDrag:
        return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crHSplit:
        return Qt::SplitHCursor;
    case crVSplit:
        return Qt::SplitVCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

// ---- capture ----

TControl* GetCaptureControl() {
    return gCaptureControl;
}

void SetCaptureControl(TControl* control) {
    if (gCaptureControl == control) return;
    // A standard control's own toolkit widget (the inner one) took the press and follows the drag
    // itself: a grab by the outer widget would take its moves and release, and a drag would select nothing.
    const auto grabbed = [](TControl* c) -> QWidget* {
        TControlPeer* peer = c->Peer();
        return peer && peer->widget && !peer->inner ? static_cast<QWidget*>(peer->widget) : nullptr;
    };
    if (gCaptureControl)
        if (QWidget* w = grabbed(gCaptureControl)) w->releaseMouse();
    gCaptureControl = control;
    // A real grab only while a window is on the screen; otherwise the routing filter redirects.
    if (control && control->Showing() && !vcl_internal::IsOffscreen())
        if (QWidget* w = grabbed(control); w && w->isVisible()) w->grabMouse();
}

// ---- TControl ----

TControl::TControl(TComponent* owner) : TComponent(owner) {
    peer_ = std::make_unique<TControlPeer>(this);
    font_ = std::make_unique<TFont>();
    font_->OnChange = [this](TObject*) {
        if (!applyingParentFont_) parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    SetDestroying();
    vcl_internal::ControlDestroying(this);
    if (gCaptureControl == this) SetCaptureControl(nullptr);
    if (parent_) parent_->RemoveControl(this);
    font_->OnChange = nullptr;
    if (peer_->eventDepth > 0) {
        // Destroyed from inside one of its own events: the widget goes once the event is over.
        TControlPeer* orphan = peer_.release();
        orphan->control = nullptr;
        QWidget* widget = orphan->widget;
        widget->hide();
        widget->setParent(nullptr);
        QObject::connect(widget, &QObject::destroyed, [orphan] {
            orphan->widget = nullptr;
            delete orphan;
        });
        widget->deleteLater();
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
    if (parent_ && align_ != alNone && align_ != alCustom) parent_->AlignControls();
    if (resized) Resize();
}

void TControl::BoundsChanged() {
    UpdateWidgetGeometry();
    peer_->ResizeBuffer(width_, height_);
}

void TControl::UpdateWidgetGeometry() {
    if (!peer_->widget || peer_->widget->isWindow()) return;
    const TPoint offset = parent_ ? parent_->ClientOffset() : TPoint{};
    peer_->settingGeometry = true;
    peer_->widget->setGeometry(left_ + offset.X, top_ + offset.Y, width_, height_);
    // At once, not at the resize event a hidden window gets only when shown.
    if (peer_->inner) peer_->inner->setGeometry(peer_->widget->rect());
    peer_->settingGeometry = false;
}

void TControl::SetClientWidth(int value) {
    SetWidth(value + (width_ - ClientWidth()));
}
void TControl::SetClientHeight(int value) {
    SetHeight(value + (height_ - ClientHeight()));
}

TPoint TControl::ClientOrigin() const {
    if (!parent_) {
        const QPoint p = peer_->widget->mapToGlobal(QPoint(0, 0));
        return Point(p.x(), p.y());
    }
    const TPoint origin = parent_->ClientOrigin();
    const TPoint own = ClientOffset();
    return Point(origin.X + left_ + own.X, origin.Y + top_ + own.Y);
}

TPoint TControl::ClientToScreen(const TPoint& point) const {
    const TPoint origin = ClientOrigin();
    return Point(point.X + origin.X, point.Y + origin.Y);
}

TPoint TControl::ScreenToClient(const TPoint& point) const {
    const TPoint origin = ClientOrigin();
    return Point(point.X - origin.X, point.Y - origin.Y);
}

void TControl::SetVisible(bool value) {
    if (visible_ == value) return;
    visible_ = value;
    VisibleChanged();
    if (parent_ && align_ != alNone) parent_->AlignControls();
    Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
}

void TControl::VisibleChanged() {
    UpdateWidgetVisibility();
}

void TControl::UpdateWidgetVisibility() {
    if (peer_->widget && !peer_->widget->isWindow())
        peer_->widget->setVisible(visible_ && parent_ != nullptr);
}

bool TControl::Showing() const {
    return visible_ && parent_ && parent_->Showing();
}

void TControl::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    EnabledChanged();
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::EnabledChanged() {
    if (peer_->widget && !peer_->widget->isWindow()) peer_->widget->setEnabled(enabled_);
    Invalidate();
}

void TControl::SetHint(const std::string& value) {
    hint_ = value;
}

void TControl::SetShowHint(bool value) {
    showHint_ = value;
    parentShowHint_ = false;
}

bool TControl::ShowsHint() const {
    // ParentShowHint: the nearest parent that decides for itself decides.
    const TControl* c = this;
    while (c->parentShowHint_ && c->parent_)
        c = c->parent_;
    return c->showHint_;
}

std::string TControl::ShortHint() const {
    const auto bar = hint_.find('|');
    return bar == std::string::npos ? hint_ : hint_.substr(0, bar);
}

void TControl::SetCursor(TCursor value) {
    cursor_ = value;
    if (value == crDefault)
        peer_->widget->unsetCursor();
    else
        peer_->widget->setCursor(vcl_internal::QtCursorShape(value));
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    for (TWinControl* p = parent; p; p = p->Parent())
        if (p == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

TForm* TControl::ParentForm() const {
    TForm* form = nullptr;
    for (const TControl* c = this; c; c = c->parent_)
        if (auto* f = dynamic_cast<TForm*>(const_cast<TControl*>(c))) form = f;
    return form;
}

void TControl::SetColor(TColor value) {
    parentColor_ = false;
    if (color_ == value) return;
    color_ = value;
    ColorChanged();
}

void TControl::SetParentColor(bool value) {
    parentColor_ = value;
    if (value && parent_) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_) return;
    if (color_ != parent_->Color()) {
        color_ = parent_->Color();
        ColorChanged();
    }
}

void TControl::ColorChanged() {
    if (peer_->inner) {
        QPalette p = peer_->inner->palette();
        p.setColor(QPalette::Base, vcl_internal::ToQColor(color_));
        peer_->inner->setPalette(p);
    }
    Invalidate();
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value) {
    parentFont_ = value;
    if (value && parent_) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    applyingParentFont_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{applyingParentFont_};
    font_->Assign(parent_->Font());
}

void TControl::FontChanged() {
    // A window never shown hands its widgets their fonts when it is first shown: each font set on a
    // widget walks all the widgets inside it.
    widgetFontPending_ = true;
    if (!WidgetFontWaits()) ApplyWidgetFont();
    Invalidate();
    Perform(CM_FONTCHANGED, 0, 0);
}

bool TControl::WidgetFontWaits() const {
    const TForm* form = ParentForm();
    return form && !form->EverShown();
}

void TControl::ApplyWaitingFonts() {
    if (widgetFontPending_) ApplyWidgetFont();
    if (auto* windowed = dynamic_cast<TWinControl*>(this))
        for (TControl* c : windowed->controls_)
            c->ApplyWaitingFonts();
}

void TControl::ApplyWidgetFont() {
    widgetFontPending_ = false;
    QWidget* target = peer_->inner ? peer_->inner.data() : peer_->widget;
    // Setting a font or palette walks every child widget: skip what the widget already has of its own.
    const QFont font = vcl_internal::ToQFont(*font_);
    if (!target->testAttribute(Qt::WA_SetFont) || !(target->font() == font)) target->setFont(font);
    const QColor text = vcl_internal::ToQColor(font_->Color());
    const QPalette& current = target->palette();
    bool same = target->testAttribute(Qt::WA_SetPalette);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            same = same && current.isBrushSet(group, role) && current.color(group, role) == text;
    if (!same) {
        QPalette p = current;
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            for (const QPalette::ColorRole role :
                 {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
                p.setColor(group, role, text);
        target->setPalette(p);
    }
}

void TControl::SetAlign(TAlign value) {
    if (align_ == value) return;
    align_ = value;
    if (parent_) parent_->AlignControls();
}

void TControl::SetText(const std::string& value) {
    if (value == GetText()) return;
    text_ = value;
    TextChanged();
}

void TControl::TextChanged() {
    Invalidate();
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    popupMenu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

bool TControl::MouseCapture() const {
    return gCaptureControl == this;
}

void TControl::SetMouseCapture(bool value) {
    if (value)
        SetCaptureControl(this);
    else if (gCaptureControl == this)
        SetCaptureControl(nullptr);
}

void TControl::BringToFront() {
    if (parent_)
        parent_->RestackChild(this, true);
    else if (!vcl_internal::IsOffscreen())
        peer_->widget->raise();
}

void TControl::SendToBack() {
    if (parent_)
        parent_->RestackChild(this, false);
    else if (!vcl_internal::IsOffscreen())
        peer_->widget->lower();
}

void TControl::Invalidate() {
    if (peer_->Painted())
        peer_->RequestPaint();
    else
        peer_->widget->update();
}

void TControl::Update() {
    if (Showing() && peer_->widget->isVisible()) peer_->widget->repaint();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

LRESULT TControl::Perform(UINT message, WPARAM wParam, LPARAM lParam) {
    TMessage m;
    m.Msg = message;
    m.WParam = wParam;
    m.LParam = lParam;
    Dispatch(m);
    return m.Result;
}

void TControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER:
        if (message.LParam == 0) OnMouseEnter(this);
        break;
    case CM_MOUSELEAVE:
        if (message.LParam == 0) OnMouseLeave(this);
        break;
    case WM_PAINT:
        if (peer_->Painted()) {
            if (peer_->Surface() == TPaintSurface::Picture) {
                // Any other paint covers every pixel; this one is cleared or erased first.
                if (peer_->TransparentPaint()) {
                    peer_->FillBuffer(0);
                } else {
                    TMessage erase;
                    erase.Msg = WM_ERASEBKGND;
                    Dispatch(erase);
                }
            }
            PaintControl();
        }
        break;
    case WM_ERASEBKGND:
        if (peer_->Painted() && peer_->Surface() != TPaintSurface::Screen)
            peer_->FillBuffer(vcl_internal::ToQColor(color_).rgba());
        message.Result = 1;
        break;
    default:
        DefaultHandler(message);
        break;
    }
}

void TControl::DefaultHandler(TMessage& message) {
    message.Result = 0;
}

void TControl::HandlePaint() {
    Perform(WM_PAINT, 0, 0);
}

void TControl::HandleMouseButton(bool down, bool doubleClick, TMouseButton button, TShiftState shift, int x,
                                 int y) {
    if (down) {
        if (doubleClick && !controlStyle_.Contains(csDoubleClicks)) doubleClick = false;
        if (button == mbLeft) {
            if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
            if (doubleClick) {
                if (controlStyle_.Contains(csClickEvents)) DblClick();
            } else if (controlStyle_.Contains(csClickEvents)) {
                clicked_ = true;
            }
        }
        if (ComponentState().Contains(csDestroying)) return;
        MouseDown(button, shift, x, y);
        return;
    }
    if (button == mbLeft) {
        if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
        if (clicked_) {
            clicked_ = false;
            if (x >= 0 && y >= 0 && x < width_ && y < height_) Click();
        }
    }
    MouseUp(button, shift, x, y);
}

void TControl::HandleMouseMove(TShiftState shift, int x, int y) {
    MouseMove(shift, x, y);
}

void TControl::Click() {
    OnClick(this);
}
void TControl::DblClick() {
    OnDblClick(this);
}
void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseMove(TShiftState shift, int x, int y) {
    OnMouseMove(this, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseUp(this, button, shift, x, y);
}
void TControl::Resize() {
    OnResize(this);
}

void TControl::SetParentComponent(TComponent* parent) {
    auto* windowed = dynamic_cast<TWinControl*>(parent);
    if (!windowed) TComponent::SetParentComponent(parent);
    SetParent(windowed);
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (parent_ && align_ != alNone) parent_->AlignControls();
}

TCanvas* TControl::CreatePaintCanvas(bool transparent) {
    return peer_->CreateCanvas(transparent);
}

void TControl::SetPaintSurface(TPaintSurface surface) {
    if (peer_->Painted()) peer_->SetSurface(surface);
}

bool TControl::ReadProperty(TPropertyReader& r) {
    if (r.Is("Left")) {
        SetLeft(r.Integer());
    } else if (r.Is("Top")) {
        SetTop(r.Integer());
    } else if (r.Is("Width")) {
        SetWidth(r.Integer());
    } else if (r.Is("Height")) {
        SetHeight(r.Integer());
    } else if (r.Is("ClientWidth")) {
        SetClientWidth(r.Integer());
    } else if (r.Is("ClientHeight")) {
        SetClientHeight(r.Integer());
    } else if (r.Is("Visible")) {
        SetVisible(r.Boolean());
    } else if (r.Is("Enabled")) {
        SetEnabled(r.Boolean());
    } else if (r.Is("Hint")) {
        SetHint(r.String());
    } else if (r.Is("ShowHint")) {
        SetShowHint(r.Boolean());
    } else if (r.Is("ParentShowHint")) {
        parentShowHint_ = r.Boolean();
    } else if (r.Is("Cursor")) {
        SetCursor(ReadCursorValue(r));
    } else if (r.Is("Color")) {
        SetColor(ReadColorValue(r));
    } else if (r.Is("ParentColor")) {
        SetParentColor(r.Boolean());
    } else if (r.Is("ParentFont")) {
        SetParentFont(r.Boolean());
    } else if (ReadFontProperty(font_.get(), "Font.", r)) {
    } else if (r.Is("Align")) {
        SetAlign(r.Enum<TAlign>({{"alNone", alNone},
                                 {"alTop", alTop},
                                 {"alBottom", alBottom},
                                 {"alLeft", alLeft},
                                 {"alRight", alRight},
                                 {"alClient", alClient},
                                 {"alCustom", alCustom}}));
    } else if (r.Is("Anchors")) {
        SetAnchors(r.EnumSet<TAnchorKind>(
            {{"akLeft", akLeft}, {"akTop", akTop}, {"akRight", akRight}, {"akBottom", akBottom}}));
    } else if (r.Is("Caption") && controlStyle_.Contains(csSetCaption)) {
        SetCaption(r.String());
    } else if (r.Is("PopupMenu")) {
        r.Reference([this](TComponent* c) {
            auto* menu = dynamic_cast<TPopupMenu*>(c);
            if (menu) SetPopupMenu(menu);
            return menu != nullptr;
        });
    } else if (r.Is("OnClick")) {
        OnClick = r.Event<TNotifyEvent>();
    } else if (r.Is("OnDblClick")) {
        OnDblClick = r.Event<TNotifyEvent>();
    } else if (r.Is("OnMouseDown")) {
        OnMouseDown = r.Event<TMouseEvent>();
    } else if (r.Is("OnMouseMove")) {
        OnMouseMove = r.Event<TMouseMoveEvent>();
    } else if (r.Is("OnMouseUp")) {
        OnMouseUp = r.Event<TMouseEvent>();
    } else if (r.Is("OnMouseEnter")) {
        OnMouseEnter = r.Event<TNotifyEvent>();
    } else if (r.Is("OnMouseLeave")) {
        OnMouseLeave = r.Event<TNotifyEvent>();
    } else if (r.Is("OnResize")) {
        OnResize = r.Event<TNotifyEvent>();
    } else if (IsDesignOnlyProperty(r)) {
    } else {
        return TComponent::ReadProperty(r);
    }
    return true;
}

// ---- TGraphicControl / TCustomControl ----

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {
    canvas_ = CreatePaintCanvas(true);
    SetColor(clBtnFace);
    SetParentColor(true);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintControl() {
    canvas_->Font()->Assign(Font());
    canvas_->Brush()->SetColor(Color());
    Paint();
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {
    canvas_ = CreatePaintCanvas(false);
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintControl() {
    canvas_->Font()->Assign(Font());
    canvas_->Brush()->SetColor(Color());
    Paint();
}
