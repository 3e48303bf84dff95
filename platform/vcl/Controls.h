// Controls: the visual components. Each control is backed by a widget that the platform owns; the
// control keeps its own state (bounds, visibility, text, font, colour) and the widget follows it.
//
// Properties are read by a method of their name and written by Set plus the name:
//     BtnOk->SetVisible(false);  if (Label1->Width() > 100) ...
// Events are public fields: Button1->OnClick = TNotifyEvent(this, &TFrmMain::Button1Click);
//
// Painted controls (TGraphicControl, TCustomControl) draw with their Canvas into a picture the control
// keeps, so Paint may also be called outside the paint cycle: what it draws shows at once, over what
// was there (nothing is erased). In the paint cycle a graphic control starts from a clear picture (its
// parent shows through) and a custom control from its background colour, unless it answers
// WM_ERASEBKGND with a non-zero result.
#pragma once

#include "platform/vcl/Components.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Sets.h"
#include "platform/win/Messages.h"

#include <memory>
#include <string>
#include <vector>

namespace vcl_internal {
class TControlPeer;
}

class TWinControl;
class TPopupMenu;
class TForm;

// Cursors.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents
};
using TControlStyle = TSet<TControlStyleItem>;

// Where a painted control paints.
enum class TPaintSurface {
    // A picture the control keeps, cleared (graphic controls) or erased (the others) before each paint.
    Picture,
    // A kept picture that every paint covers with opaque pixels: not cleared first, and nothing under
    // the control is painted.
    OpaquePicture,
    // The screen itself, at every paint of the control's area, which every paint covers with opaque
    // pixels; no picture is kept, so what is drawn outside a paint only asks for the next one.
    Screen,
};

// Messages of the class library itself.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_ACTIVATE = CM_BASE + 0;
inline constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 3;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 4;
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 5;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 22;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr UINT CM_RELEASE = CM_BASE + 33;
inline constexpr UINT CM_INVALIDATE = CM_BASE + 37;

// The system command that moves a window by its caption: a drag that follows the mouse until the
// button is released.
inline constexpr WPARAM SC_DRAGMOVE = 0xF012;

// Modifier flags of mouse messages.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Position and size in the parent's client coordinates (a form's: on the screen, frame included).
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    // Negative sizes become 0.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Rect(left_, top_, left_ + width_, top_ + height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect ClientRect() const { return Rect(0, 0, width_, height_); }
    // Where the client area starts inside the control (a frame of its own pushes it in).
    virtual TPoint ClientOffset() const { return TPoint{}; }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int value);
    void SetClientHeight(int value);
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(const TPoint& point) const;
    TPoint ScreenToClient(const TPoint& point) const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and so are all its parents (a form: shown on the screen).
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value) { parentShowHint_ = value; }
    // Whether the hint pops up: ShowHint, or the parent's when ParentShowHint is set.
    bool ShowsHint() const;
    // The part of the hint before '|' (the pop-up text).
    std::string ShortHint() const;
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // The form this control lies on, nullptr when none.
    TForm* ParentForm() const;

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont* value) { font_->Assign(value); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    // Platform-internal: gives the widgets of this control and its children the fonts held back while
    // their window had never been shown.
    void ApplyWaitingFonts();

    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors value) { anchors_ = value; }

    // Caption and Text are the same text under two names.
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& value) { SetText(value); }
    std::string Text() const { return GetText(); }
    void SetText(const std::string& value);

    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
    // Mouse capture: every mouse event goes to this control until it is released.
    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    void BringToFront();
    void SendToBack();
    // Invalidate asks for a repaint in the next paint cycle; Repaint paints at once.
    virtual void Invalidate();
    void Update();
    void Repaint();
    void Refresh() { Repaint(); }

    // Sends a message straight to the control's message handling and returns its result.
    LRESULT Perform(UINT message, WPARAM wParam, LPARAM lParam);
    // The message map: controls override it to handle messages and pass the rest to the base.
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    bool ReadProperty(TPropertyReader& reader) override;
    void SetParentComponent(TComponent* parent) override;
    void Loaded() override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;

    // Platform-internal.
    vcl_internal::TControlPeer* Peer() const { return peer_.get(); }
    void HandleMouseButton(bool down, bool doubleClick, TMouseButton button, TShiftState shift, int x, int y);
    void HandleMouseMove(TShiftState shift, int x, int y);
    void HandlePaint();
    void ParentFontChanged();
    void ParentColorChanged();

protected:
    // Dynamic handlers: the default ones fire the events.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Resize();

    virtual std::string GetText() const { return text_; }
    // Called after the text changed; controls with a widget of their own show it there.
    virtual void TextChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void EnabledChanged();
    virtual void VisibleChanged();
    virtual void BoundsChanged();
    // Paints into the control's picture (painted controls only); the default does nothing.
    virtual void PaintControl() {}

    void Notification(TComponent* component, TOperation operation) override;

    // Gives the control a picture and a canvas drawing into it (painted controls). transparent: the
    // picture starts clear at every paint cycle.
    TCanvas* CreatePaintCanvas(bool transparent);
    // Where a painted control's paints go from now on (TPaintSurface).
    void SetPaintSurface(TPaintSurface surface);

    std::string text_;
    bool clicked_ = false;

private:
    friend class TWinControl;
    friend class vcl_internal::TControlPeer;

    void UpdateWidgetVisibility();
    void UpdateWidgetGeometry();
    bool WidgetFontWaits() const;
    void ApplyWidgetFont();

    std::unique_ptr<vcl_internal::TControlPeer> peer_;
    std::unique_ptr<TFont> font_;
    TWinControl* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    bool parentFont_ = true;
    bool parentColor_ = false;
    bool applyingParentFont_ = false;
    bool widgetFontPending_ = false;
    std::string hint_;
    TCursor cursor_ = crDefault;
    TColor color_ = clWindow;
    TAlign align_ = alNone;
    TAnchors anchors_ = TAnchors{akLeft, akTop};
    TPopupMenu* popupMenu_ = nullptr;
    TControlStyle controlStyle_ = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(const TControl* control) const;

    // A hidden window that receives messages sent or posted to this control (created on first use).
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }

    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);

    bool ReadProperty(TPropertyReader& reader) override;

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // Platform-internal: key handling, in the class library's order. Return false when the key was
    // swallowed. KeyPress may change `key`.
    bool HandleKeyDown(WORD& key, TShiftState shift);
    bool HandleKeyPress(char& key);
    bool HandleKeyUp(WORD& key, TShiftState shift);
    void HandleFocus(bool entering);
    // Lays out the aligned children in the client area.
    void AlignControls();
    // Places the children's widgets again (after the client area moved).
    void UpdateChildGeometry();

protected:
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void DoEnter();
    virtual void DoExit();
    // The window procedure of Handle: Dispatch.
    virtual void WndProc(TMessage& message);
    void BoundsChanged() override;
    void FontChanged() override;
    void ColorChanged() override;

private:
    friend class TControl;
    void RestackChild(TControl* control, bool toFront);
    void UpdateTabOrder();

    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    HWND handle_ = nullptr;
    bool tabStop_ = false;
    bool aligning_ = false;
};

// A control without a widget of its own in the class library: it paints on its parent. Here it has
// a transparent picture of its own over the parent.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return canvas_; }

protected:
    virtual void Paint() {}
    void PaintControl() override;

private:
    TCanvas* canvas_ = nullptr;
};

// A windowed control that paints itself.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return canvas_; }

protected:
    virtual void Paint() {}
    void PaintControl() override;

private:
    TCanvas* canvas_ = nullptr;
};

// The control that has the mouse captured, and the class library's capture calls on controls.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// The control behind a window handle (TWinControl::Handle), or nullptr.
TWinControl* FindControl(HWND handle);
