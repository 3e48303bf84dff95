#include "bitmap32/Bmp32_ImageView.h"

#include "platform/vcl/ControlCursor.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/WinUser.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/PropertyReaders.h"

#include <algorithm>
#include <mutex>

namespace Bmp32_ImageView {

namespace {
const bool registered = (RegisterImageView(), true);
} // namespace

void RegisterImageView() {
    static std::once_flag once;
    std::call_once(once, [] { RegisterComponentClass<TImgView32>("TImgView32"); });
}

// ---- scroll properties ----

TIVScrollProperties::TIVScrollProperties(TCustomImgView32* View)
    : TArrowBarAccess(View->HScroll(), View->VScroll()), FView(View) {}

int TIVScrollProperties::Increment() const {
    return FView->HScroll()->Increment();
}

void TIVScrollProperties::SetIncrement(int Value) {
    const auto v = static_cast<TRBIncrement>(std::clamp(Value, 0, 0xFFFF));
    FView->HScroll()->SetIncrement(v);
    FView->VScroll()->SetIncrement(v);
}

int TIVScrollProperties::Size() const {
    return FView->FScrollBarSize;
}

void TIVScrollProperties::SetSize(int Value) {
    FView->FScrollBarSize = std::max(Value, 0);
    // The viewport changes with the bars: the whole layout follows.
    FView->Resize();
}

TScrollBarVisibility TIVScrollProperties::Visibility() const {
    return FView->FScrollBarVisibility;
}

void TIVScrollProperties::SetVisibility(TScrollBarVisibility Value) {
    if (Value == FView->FScrollBarVisibility) return;
    FView->FScrollBarVisibility = Value;
    FView->Resize();
}

// ---- the view ----

TCustomImgView32::TCustomImgView32(TComponent* AOwner) : TCustomImage32(AOwner) {
    FHScroll = new TCustomRangeBar(this);
    FVScroll = new TCustomRangeBar(this);
    FVScroll->SetKind(sbVertical);
    for (TCustomRangeBar* bar : {FHScroll, FVScroll}) {
        bar->SetParent(this);
        bar->SetBorderStyle(bsNone);
        bar->SetCentered(true);
        bar->OnChange = TNotifyEvent(this, &TCustomImgView32::ScrollHandler);
    }
    FScrollBars = std::make_unique<TIVScrollProperties>(this);
    FCentered = true;
    SetScaleMode(smScale);
    SetBitmapAlign(baCustom);
    const TRect viewport = GetViewportRect();
    FOldSzX = viewport.Width();
    FOldSzY = viewport.Height();
    AlignAll();
}

TCustomImgView32::~TCustomImgView32() {
    FHScroll->OnChange = nullptr;
    FVScroll->OnChange = nullptr;
}

bool TCustomImgView32::GetScrollBarsVisible() const {
    switch (FScrollBarVisibility) {
    case svAlways:
        return true;
    case svHidden:
        return false;
    case svAuto:
        return FHScroll->Range() > FHScroll->EffectiveWindow() ||
               FVScroll->Range() > FVScroll->EffectiveWindow();
    }
    return true;
}

int TCustomImgView32::GetScrollBarSize() const {
    if (!FHScroll || !GetScrollBarsVisible()) return 0;
    return FScrollBarSize != 0 ? FScrollBarSize : DefaultScrollBarSize;
}

TRect TCustomImgView32::GetViewportRect() {
    const int size = GetScrollBarSize();
    return Rect(0, 0, std::max(Width() - size, 0), std::max(Height() - size, 0));
}

void TCustomImgView32::AlignAll() {
    if (!FHScroll || !FVScroll) return;
    const int size = GetScrollBarSize();
    const bool visible = size > 0;
    FHScroll->SetBounds(0, Height() - size, std::max(Width() - size, 0), size);
    FVScroll->SetBounds(Width() - size, 0, size, std::max(Height() - size, 0));
    FHScroll->SetVisible(visible);
    FVScroll->SetVisible(visible);
    FHScroll->Repaint();
    FVScroll->Repaint();
}

bool TCustomImgView32::IsSizeGripVisible() const {
    switch (FSizeGrip) {
    case sgAlways:
        return true;
    case sgNone:
        return false;
    case sgAuto:
        break;
    }
    // Only a view that fills its form to the corner sizes the form from there.
    for (const TControl* c = this; c; c = c->Parent()) {
        if (dynamic_cast<const TForm*>(c)) return true;
        if (c->Align() != alClient) return false;
    }
    return false;
}

TRect TCustomImgView32::GetSizeGripRect() const {
    const int size = GetScrollBarSize();
    return Rect(Width() - size, Height() - size, Width(), Height());
}

void TCustomImgView32::UpdateScrollBars() {
    if (!FHScroll || !FVScroll) return;
    const TSize size = GetBitmapSize();
    const int over = RoundToInt(2.0 * FOverSize * FScaleX);
    FHScroll->SetRange(size.cx + over);
    FVScroll->SetRange(size.cy + over);
    if (FScrollBarVisibility == svAuto) AlignAll();
}

void TCustomImgView32::UpdateImage() {
    if (!FHScroll || !FVScroll) return;
    const TSize size = GetBitmapSize();
    const int over = RoundToInt(double(FOverSize) * FScaleX);
    const TRect viewport = GetViewportRect();
    BeginUpdate();
    try {
        if (FCentered && 2 * over + size.cx < viewport.Width())
            SetOffsetHorz((viewport.Width() - size.cx) / 2.0f);
        else
            SetOffsetHorz(over - FHScroll->Position());
        if (FCentered && 2 * over + size.cy < viewport.Height())
            SetOffsetVert((viewport.Height() - size.cy) / 2.0f);
        else
            SetOffsetVert(over - FVScroll->Position());
        InvalidateCache();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    Changed();
}

void TCustomImgView32::ScrollToCenter(int X, int Y) {
    if (!FHScroll || !FVScroll) return;
    FScrollLock = true;
    try {
        AlignAll();
        const int over = RoundToInt(double(FOverSize) * FScaleX);
        const TRect viewport = GetViewportRect();
        FHScroll->SetPosition(X * FScaleX - viewport.Width() / 2.0f + over);
        FVScroll->SetPosition(Y * FScaleY - viewport.Height() / 2.0f + over);
    } catch (...) {
        FScrollLock = false;
        throw;
    }
    FScrollLock = false;
    UpdateImage();
}

void TCustomImgView32::Scroll(int Dx, int Dy) {
    FScrollLock = true;
    FHScroll->SetPosition(FHScroll->Position() + Dx);
    FVScroll->SetPosition(FVScroll->Position() + Dy);
    FScrollLock = false;
    UpdateImage();
}

void TCustomImgView32::Recenter() {
    if (!FHScroll || !FVScroll) return;
    InvalidateCache();
    FHScroll->SetCentered(FCentered);
    FVScroll->SetCentered(FCentered);
    UpdateScrollBars();
    UpdateImage();
    if (FCentered) {
        ScrollToCenter(FBitmap->Width() / 2, FBitmap->Height() / 2);
    } else {
        FScrollLock = true;
        FHScroll->SetPosition(0);
        FVScroll->SetPosition(0);
        FScrollLock = false;
        UpdateImage();
    }
}

void TCustomImgView32::ScrollHandler(TObject* Sender) {
    if (FScrollLock) return;
    if (auto* bar = dynamic_cast<TControl*>(Sender)) bar->Repaint();
    UpdateImage();
    DoScroll();
    Repaint();
}

void TCustomImgView32::DoScroll() {
    OnScroll(this);
}

void TCustomImgView32::SetCentered(bool Value) {
    FCentered = Value;
    Recenter();
}

void TCustomImgView32::SetSizeGrip(TSizeGripStyle Value) {
    if (Value == FSizeGrip) return;
    FSizeGrip = Value;
    Invalidate();
}

void TCustomImgView32::SetOverSize(int Value) {
    if (Value == FOverSize) return;
    FOverSize = Value;
    Recenter();
}

void TCustomImgView32::BitmapResized() {
    TCustomImage32::BitmapResized();
    UpdateScrollBars();
    if (FCentered) {
        ScrollToCenter(FBitmap->Width() / 2, FBitmap->Height() / 2);
    } else if (FHScroll && FVScroll) {
        FScrollLock = true;
        FHScroll->SetPosition(0);
        FVScroll->SetPosition(0);
        FScrollLock = false;
        UpdateImage();
    }
}

void TCustomImgView32::DoScaleChange() {
    TCustomImage32::DoScaleChange();
    InvalidateCache();
    UpdateScrollBars();
    UpdateImage();
    Invalidate();
}

void TCustomImgView32::DoSetScaleMode(TScaleMode Value) {
    TCustomImage32::DoSetScaleMode(Value);
    Recenter();
}

void TCustomImgView32::Loaded() {
    TCustomImage32::Loaded();
    AlignAll();
    Recenter();
}

void TCustomImgView32::Resize() {
    AlignAll();
    InvalidateCache();
    UpdateScrollBars();
    UpdateImage();
    Invalidate();
    TCustomImage32::Resize();
    const TRect viewport = GetViewportRect();
    FOldSzX = viewport.Width();
    FOldSzY = viewport.Height();
}

void TCustomImgView32::Paint() {
    TCustomImage32::Paint();
    const int size = GetScrollBarSize();
    if (size > 0) DrawSizeGrip(GetSizeGripRect());
}

void TCustomImgView32::DrawSizeGrip(const TRect& R) {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(R);
    if (!IsSizeGripVisible()) return;
    // The classic grip: three pairs of diagonal ridges towards the corner.
    for (int i = 0; i < 3; ++i) {
        const int d = 4 * i + 3;
        canvas->Pen()->SetColor(clBtnHighlight);
        canvas->MoveTo(R.Right - d - 1, R.Bottom);
        canvas->LineTo(R.Right, R.Bottom - d - 1);
        canvas->Pen()->SetColor(clBtnShadow);
        canvas->MoveTo(R.Right - d, R.Bottom);
        canvas->LineTo(R.Right, R.Bottom - d);
        canvas->MoveTo(R.Right - d + 1, R.Bottom);
        canvas->LineTo(R.Right, R.Bottom - d + 1);
    }
}

void TCustomImgView32::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (GetScrollBarSize() > 0 && IsSizeGripVisible() && PtInRect(GetSizeGripRect(), Point(X, Y))) {
        if (auto* form = dynamic_cast<TForm*>(Owner())) {
            Application->ProcessMessages();
            ReleaseCapture();
            const TPoint at = ClientToScreen(Point(X, Y));
            form->Perform(WM_NCLBUTTONDOWN, HTBOTTOMRIGHT,
                          static_cast<LPARAM>(MAKELONG(static_cast<WORD>(at.X), static_cast<WORD>(at.Y))));
            return;
        }
    }
    TCustomImage32::MouseDown(Button, Shift, X, Y);
}

void TCustomImgView32::MouseMove(TShiftState Shift, int X, int Y) {
    const bool overGrip =
        GetScrollBarSize() > 0 && IsSizeGripVisible() && PtInRect(GetSizeGripRect(), Point(X, Y));
    ShowControlCursor(this, overGrip ? crSizeNWSE : crDefault);
    TCustomImage32::MouseMove(Shift, X, Y);
}

bool TCustomImgView32::ReadProperty(TPropertyReader& Reader) {
    TPropertyReader& r = Reader;
    std::string sub;
    if (r.Is("Centered")) {
        SetCentered(r.Boolean());
    } else if (r.Is("OverSize")) {
        SetOverSize(r.Integer());
    } else if (r.Is("SizeGrip")) {
        SetSizeGrip(r.Enum<TSizeGripStyle>({{"sgAuto", sgAuto}, {"sgNone", sgNone}, {"sgAlways", sgAlways}}));
    } else if (r.Is("OnScroll")) {
        OnScroll = r.Event<TNotifyEvent>();
    } else if (r.HasPrefix("ScrollBars.", &sub)) {
        TIVScrollProperties* s = FScrollBars.get();
        auto is = [&](const char* name) { return SameText(sub, name); };
        if (is("Increment"))
            s->SetIncrement(r.Integer());
        else if (is("Size"))
            s->SetSize(r.Integer());
        else if (is("Visibility"))
            s->SetVisibility(r.Enum<TScrollBarVisibility>(
                {{"svAlways", svAlways}, {"svHidden", svHidden}, {"svAuto", svAuto}}));
        else if (is("Backgnd"))
            s->SetBackgnd(r.Enum<TRBBackgnd>({{"bgPattern", bgPattern}, {"bgSolid", bgSolid}}));
        else if (is("ButtonSize"))
            s->SetButtonSize(r.Integer());
        else if (is("Color"))
            s->SetColor(ReadColorValue(r));
        else if (is("HandleColor"))
            s->SetHandleColor(ReadColorValue(r));
        else if (is("HighLightColor"))
            s->SetHighLightColor(ReadColorValue(r));
        else if (is("ShadowColor"))
            s->SetShadowColor(ReadColorValue(r));
        else if (is("ButtonColor"))
            s->SetButtonColor(ReadColorValue(r));
        else if (is("BorderColor"))
            s->SetBorderColor(ReadColorValue(r));
        else if (is("ShowArrows"))
            s->SetShowArrows(r.Boolean());
        else if (is("ShowHandleGrip"))
            s->SetShowHandleGrip(r.Boolean());
        else if (is("Style"))
            s->SetStyle(r.Enum<TRBStyle>({{"rbsDefault", rbsDefault}, {"rbsMac", rbsMac}}));
        else
            r.Fail("unknown property");
    } else {
        return TCustomImage32::ReadProperty(Reader);
    }
    return true;
}

bool TImgView32::ReadProperty(TPropertyReader& Reader) {
    if (Reader.Is("BitmapAlign") || Reader.Is("ScaleMode")) Reader.Fail("unknown property");
    return TCustomImgView32::ReadProperty(Reader);
}

} // namespace Bmp32_ImageView
