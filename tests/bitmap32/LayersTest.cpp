// Layers: hit tests and their order, mouse routing through the collection, the collection's
// notifications, free notifications, and the rubberband's drag states, drags and picture.
#include "bitmap32/Bmp32_Image.h"
#include "bitmap32/Bmp32_Layers.h"
#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class Layers : public ::testing::Test {
protected:
    void TearDown() override {
        Screen->SetCursor(crDefault);
        form_testing::ResetApplication();
    }
    TPositionedLayer* AddAt(TLayerCollection& c, float l, float t, float r, float b) {
        auto* layer = c.Add<TPositionedLayer>();
        layer->SetLocation(FloatRect(l, t, r, b));
        return layer;
    }
};

TEST_F(Layers, TopmostLayerWinsTheHitTest) {
    TLayerCollection c(nullptr);
    TPositionedLayer* l0 = AddAt(c, 0, 0, 50, 50);
    TPositionedLayer* l1 = AddAt(c, 25, 25, 75, 75);
    TPositionedLayer* l2 = AddAt(c, 40, 0, 60, 100);
    const auto find = [&](int x, int y) { return c.FindLayerAtPos(x, y, LOB_MOUSE_EVENTS); };
    const struct {
        int x, y;
        TCustomLayer* want;
    } probes[] = {{10, 10, l0},      {30, 30, l1}, {45, 45, l2}, {70, 70, l1},      {50, 90, l2},
                  {90, 90, nullptr}, {50, 50, l2}, {74, 74, l1}, {75, 75, nullptr}, {-1, 0, nullptr}};
    for (const auto& p : probes)
        EXPECT_EQ(find(p.x, p.y), p.want) << p.x << "," << p.y;

    const struct {
        const char* what;
        std::function<void()> reorder;
        std::vector<TCustomLayer*> order;
        TCustomLayer* at45;
    } steps[] = {
        {"bring to front", [&] { l1->BringToFront(); }, {l0, l2, l1}, l1},
        {"send to back", [&] { l1->SendToBack(); }, {l1, l0, l2}, l2},
        {"index past the end clamps", [&] { l0->SetIndex(99); }, {l1, l2, l0}, l0},
        {"negative index clamps", [&] { l0->SetIndex(-4); }, {l0, l1, l2}, l2},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.reorder();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(c.Items(i), step.order[i]);
            EXPECT_EQ(step.order[i]->Index(), i);
        }
        EXPECT_EQ(find(45, 45), step.at45);
    }

    // Options decide who takes part; the hit-test event has the last word.
    l2->SetMouseEvents(false);
    EXPECT_EQ(find(45, 45), l1);
    EXPECT_EQ(c.FindLayerAtPos(45, 45, LOB_VISIBLE), l2);
    l1->OnHitTest = [](TObject*, int x, int, bool& passed) { passed = passed && x > 46; };
    EXPECT_EQ(find(45, 45), l0);
    EXPECT_EQ(find(47, 45), l1);
    TPositionedLayer outside(nullptr);
    EXPECT_EQ(outside.Index(), -1);
}

TEST_F(Layers, ScaledLayersFollowTheImagesTransform) {
    auto image = std::make_unique<TImage32>(nullptr);
    image->SetBounds(0, 0, 200, 100);
    image->Bitmap()->SetSize(50, 40);
    image->SetScaleMode(smScale);
    image->SetScale(2);
    auto* layer = image->Layers()->Add<TPositionedLayer>();
    layer->SetLocation(FloatRect(10, 10, 20, 20));
    EXPECT_EQ(layer->GetAdjustedLocation(), FloatRect(10, 10, 20, 20)) << "unscaled layers stay put";
    layer->SetScaled(true);
    EXPECT_EQ(layer->GetAdjustedLocation(), FloatRect(20, 20, 40, 40));
    EXPECT_TRUE(layer->HitTest(25, 25));
    EXPECT_FALSE(layer->HitTest(15, 15));
    image->SetBitmapAlign(baCenter); // shift (50, 10)
    EXPECT_EQ(layer->GetAdjustedLocation(), FloatRect(70, 30, 90, 50));
    const TFloatPoint p = image->Layers()->LocalToViewport(FloatPoint(3, 4), true);
    EXPECT_EQ(p, FloatPoint(56, 18));
    EXPECT_EQ(image->Layers()->ViewportToLocal(p, true), FloatPoint(3, 4));
    EXPECT_EQ(image->Layers()->LocalToViewport(FloatPoint(3, 4), false), FloatPoint(3, 4));
    image.reset();
}

TEST_F(Layers, BitmapLayerHitsOnlyOpaquePixelsWithAlphaHit) {
    TLayerCollection c(nullptr);
    auto* layer = c.Add<TBitmapLayer>();
    layer->Bitmap()->SetSize(4, 4);
    layer->Bitmap()->Clear(0xFF00FF00);
    for (int y = 0; y < 4; ++y) {
        layer->Bitmap()->SetPixel(0, y, 0x0000FF00);
        layer->Bitmap()->SetPixel(1, y, 0x0000FF00);
    }
    layer->SetLocation(FloatRect(0, 0, 40, 40));
    const struct {
        int x, y;
        bool plain, alpha;
    } probes[] = {
        {5, 5, true, false},   // 0.5 rounds to pixel 0: clear
        {14, 5, true, false},  // 1.4 -> pixel 1: clear
        {16, 5, true, true},   // 1.6 -> pixel 2: opaque
        {25, 30, true, true},  // 2.5 -> pixel 2
        {39, 39, true, true},  // 3.9 rounds past the bitmap: its last pixel
        {40, 10, false, false} // outside the layer
    };
    for (const auto& p : probes) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        layer->SetAlphaHit(false);
        EXPECT_EQ(layer->HitTest(p.x, p.y), p.plain);
        layer->SetAlphaHit(true);
        EXPECT_EQ(layer->HitTest(p.x, p.y), p.alpha);
    }
    // A layer too small to show a pixel is never hit.
    layer->SetLocation(FloatRect(0, 0, 0.4f, 40));
    EXPECT_FALSE(layer->HitTest(0, 5));
}

// Records the mouse events that reach one layer.
struct MouseLog {
    std::vector<std::string> events;
    void Attach(TCustomLayer* layer, const std::string& name) {
        layer->OnMouseDown = [this, name](TObject*, TMouseButton b, TShiftState, int x, int y) {
            events.push_back(name + " down " + std::to_string(b) + " " + std::to_string(x) + "," +
                             std::to_string(y));
        };
        layer->OnMouseMove = [this, name](TObject*, TShiftState, int x, int y) {
            events.push_back(name + " move " + std::to_string(x) + "," + std::to_string(y));
        };
        layer->OnMouseUp = [this, name](TObject*, TMouseButton b, TShiftState, int x, int y) {
            events.push_back(name + " up " + std::to_string(b) + " " + std::to_string(x) + "," +
                             std::to_string(y));
        };
    }
};

TEST_F(Layers, MouseRoutingKeepsTheListenerUntilTheLastButton) {
    TLayerCollection c(nullptr);
    TPositionedLayer* a = AddAt(c, 0, 0, 50, 50);
    TPositionedLayer* b = AddAt(c, 60, 0, 100, 50);
    b->SetLayerOptions(b->LayerOptions() | LOB_NO_CAPTURE);
    MouseLog log;
    log.Attach(a, "a");
    log.Attach(b, "b");
    const struct {
        const char* what;
        std::function<TCustomLayer*()> act;
        TCustomLayer* returned;
        TCustomLayer* listener;
        std::vector<std::string> events;
    } steps[] = {
        {"press on a", [&] { return c.MouseDown(mbLeft, {}, 10, 10); }, a, a, {"a down 0 10,10"}},
        {"move over b goes to a", [&] { return c.MouseMove({}, 80, 10); }, a, a, {"a move 80,10"}},
        {"second button", [&] { return c.MouseDown(mbRight, {}, 80, 10); }, a, a, {"a down 1 80,10"}},
        {"first button up", [&] { return c.MouseUp(mbLeft, {}, 80, 10); }, a, a, {"a up 0 80,10"}},
        {"last button up", [&] { return c.MouseUp(mbRight, {}, 80, 10); }, a, nullptr, {"a up 1 80,10"}},
        // A layer that does not capture is found but does not become the listener.
        {"press on b", [&] { return c.MouseDown(mbLeft, {}, 80, 10); }, b, nullptr, {}},
        {"move over b", [&] { return c.MouseMove({}, 81, 11); }, b, nullptr, {"b move 81,11"}},
        {"release over b", [&] { return c.MouseUp(mbLeft, {}, 81, 11); }, b, nullptr, {"b up 0 81,11"}},
        {"press on nothing", [&] { return c.MouseDown(mbLeft, {}, 200, 200); }, nullptr, nullptr, {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        log.events.clear();
        EXPECT_EQ(step.act(), step.returned);
        EXPECT_EQ(c.MouseListener(), step.listener);
        EXPECT_EQ(log.events, step.events);
    }
    EXPECT_TRUE(a->LayerStates().Empty());
    c.MouseDown(mbMiddle, {}, 10, 10);
    EXPECT_TRUE(a->LayerStates().Contains(lsMouseMiddle));
    c.SetMouseEvents(false);
    EXPECT_EQ(c.MouseListener(), nullptr);
    EXPECT_TRUE(a->LayerStates().Empty()) << "the old listener loses its mouse states";
}

TEST_F(Layers, CollectionNotifiesAndChecksItsIndexes) {
    TLayerCollection c(nullptr);
    std::vector<std::string> notes;
    c.OnListNotify = [&](TLayerCollection*, TLayerListNotification action, TCustomLayer* layer, int index) {
        notes.push_back(std::to_string(action) + ":" + std::to_string(index) + (layer ? "" : ":nil"));
    };
    int changing = 0, changes = 0;
    c.OnChanging = [&](TObject*) { ++changing; };
    c.OnChange = [&](TObject*) { ++changes; };
    auto* first = c.Add<TPositionedLayer>();
    EXPECT_EQ(notes, (std::vector<std::string>{"0:0"}));
    auto* inserted = c.Insert(0, LayerClassOf<TBitmapLayer>());
    EXPECT_EQ(inserted->Index(), 0);
    EXPECT_EQ(first->Index(), 1);
    EXPECT_NE(dynamic_cast<TBitmapLayer*>(inserted), nullptr);
    EXPECT_EQ(notes, (std::vector<std::string>{"0:0", "0:1", "1:0"}));
    notes.clear();
    c.Delete(1);
    EXPECT_EQ(notes, (std::vector<std::string>{"2:1"}));
    EXPECT_EQ(c.Count(), 1);
    c.Add<TCustomLayer>();
    notes.clear();
    c.Clear();
    EXPECT_EQ(notes, (std::vector<std::string>{"2:1", "2:0", "3:0:nil"}));
    EXPECT_EQ(c.Count(), 0);

    changing = changes = 0;
    c.BeginUpdate();
    c.BeginUpdate();
    c.Add<TCustomLayer>();
    c.EndUpdate();
    EXPECT_EQ(changes, 0);
    c.EndUpdate();
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changes, 1);
    try {
        c.EndUpdate();
        ADD_FAILURE() << "unpaired EndUpdate accepted";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message, "Unpaired EndUpdate");
    }
    for (int bad : {-1, 1, 7}) {
        EXPECT_THROW(c.Items(bad), EListError) << bad;
        EXPECT_THROW(c.Delete(bad), EListError) << bad;
    }
    EXPECT_EQ(c.Count(), 1);
}

TEST_F(Layers, HidingReportsTheLayerThroughForceUpdate) {
    TLayerCollection c(nullptr);
    TPositionedLayer* layer = AddAt(c, 0, 0, 10, 10);
    std::vector<TCustomLayer*> updated;
    c.OnLayerUpdated = [&](TObject*, TCustomLayer* l) { updated.push_back(l); };
    layer->SetVisible(false);
    EXPECT_EQ(updated, (std::vector<TCustomLayer*>{layer}));
    EXPECT_FALSE(layer->Visible());
    EXPECT_FALSE(layer->ForceUpdate());
    updated.clear();
    layer->SetLocation(FloatRect(5, 5, 9, 9)); // an invisible layer's changes are not reported
    EXPECT_TRUE(updated.empty());
    layer->SetVisible(true);
    EXPECT_EQ(updated.size(), 1u);
    // No-update layers report nothing; the optimizer's own mark changes no picture.
    updated.clear();
    layer->SetLayerOptions(layer->LayerOptions() | LOB_NO_UPDATE);
    layer->SetLocation(FloatRect(1, 1, 2, 2));
    layer->SetInvalid(true);
    EXPECT_TRUE(updated.empty());
    EXPECT_TRUE(layer->Invalid());
}

// A layer that remembers the layers it was told about.
class WatchingLayer : public TCustomLayer {
public:
    using TCustomLayer::TCustomLayer;
    std::vector<TCustomLayer*> told;

protected:
    void Notification(TCustomLayer* ALayer) override { told.push_back(ALayer); }
};

TEST_F(Layers, FreeNotificationsAndChildLayers) {
    TLayerCollection c(nullptr);
    auto* watcher = static_cast<WatchingLayer*>(c.Add(LayerClassOf<WatchingLayer>()));
    TPositionedLayer* watched = AddAt(c, 1, 2, 3, 4);
    watched->AddNotification(watcher);
    watched->AddNotification(watcher); // once only
    int destroyed = 0;
    watched->OnDestroy = [&](TObject*) { ++destroyed; };
    c.Delete(watched->Index());
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(watcher->told, (std::vector<TCustomLayer*>{watched}));

    // The rubberband takes its child's place and moves it along, and forgets it when it goes.
    TPositionedLayer* child = AddAt(c, 10, 20, 30, 40);
    child->SetScaled(true);
    auto* band = c.Add<TRubberbandLayer>();
    band->SetChildLayer(child);
    EXPECT_EQ(band->Location(), FloatRect(10, 20, 30, 40));
    EXPECT_TRUE(band->Scaled());
    band->SetLocation(FloatRect(0, 0, 50, 50));
    EXPECT_EQ(child->Location(), FloatRect(0, 0, 50, 50));
    c.Delete(child->Index());
    EXPECT_EQ(band->ChildLayer(), nullptr);
    band->SetLocation(FloatRect(1, 1, 2, 2)); // no child left to move

    // A rubberband that goes first leaves its child nothing to notify.
    TPositionedLayer* other = AddAt(c, 0, 0, 5, 5);
    band->SetChildLayer(other);
    c.Delete(band->Index());
    c.Delete(other->Index());
    EXPECT_EQ(c.Count(), 1);
}

TEST_F(Layers, AssignCopiesLayersByClass) {
    TLayerCollection source(nullptr), copy(nullptr);
    AddAt(source, 1, 2, 3, 4);
    auto* bitmap = source.Add<TBitmapLayer>();
    bitmap->Bitmap()->SetSize(3, 2);
    bitmap->Bitmap()->Clear(0xFF123456);
    bitmap->SetCropped(true);
    copy.Add<TCustomLayer>();
    copy.Assign(&source);
    ASSERT_EQ(copy.Count(), 2);
    auto* p = dynamic_cast<TPositionedLayer*>(copy.Items(0));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Location(), FloatRect(1, 2, 3, 4));
    auto* b = dynamic_cast<TBitmapLayer*>(copy.Items(1));
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->Cropped());
    EXPECT_EQ(b->Bitmap()->Width(), 3);
    EXPECT_EQ(b->Bitmap()->GetPixel(2, 1), 0xFF123456u);
}

TEST_F(Layers, RubberbandDragStates) {
    TLayerCollection c(nullptr);
    auto* band = c.Add<TRubberbandLayer>();
    band->SetLocation(FloatRect(20, 20, 120, 80)); // handles at 20 and 119, 20 and 79; middle 69, 49
    const struct {
        int x, y;
        TDragState want;
    } probes[] = {
        {119, 79, dsSizeBR}, {20, 79, dsSizeBL}, {119, 20, dsSizeTR}, {20, 20, dsSizeTL}, {16, 16, dsSizeTL},
        {121, 49, dsSizeR},  {69, 82, dsSizeB},  {17, 49, dsSizeL},   {69, 16, dsSizeT},  {60, 50, dsMove},
        {124, 49, dsNone},   {200, 200, dsNone}, {50, 20, dsMove},    {15, 49, dsNone},
    };
    for (const auto& p : probes) {
        EXPECT_EQ(band->GetDragState(p.x, p.y), p.want) << p.x << "," << p.y;
        EXPECT_EQ(band->HitTest(p.x, p.y), p.want != dsNone) << p.x << "," << p.y;
    }
    // On a small band the side tests also match at a corner; the corner wins.
    band->SetLocation(FloatRect(20, 20, 30, 30));
    band->SetHandleSize(5);
    EXPECT_EQ(band->GetDragState(29, 29), dsSizeBR);
    // Handles switched off give way.
    band->SetLocation(FloatRect(20, 20, 120, 80));
    band->SetHandleSize(3);
    band->SetHandles(TRBHandles{rhCenter, rhSides, rhCorners, rhNotBRCorner, rhNotRightSide});
    EXPECT_EQ(band->GetDragState(119, 79), dsNone);
    EXPECT_EQ(band->GetDragState(121, 49), dsNone);
    EXPECT_EQ(band->GetDragState(118, 49), dsMove);
    band->SetHandleSize(-3);
    EXPECT_EQ(band->HandleSize(), 1);
}

TEST_F(Layers, RubberbandDragsRespectTheLimits) {
    TLayerCollection c(nullptr);
    auto* band = c.Add<TRubberbandLayer>();
    const struct {
        const char* what;
        TPoint press, to;
        float maxWidth;
        TFloatRect want;
    } drags[] = {
        {"right edge", {119, 49}, {150, 10}, 0, {20, 20, 150, 80}},
        {"right edge below the minimum width", {119, 49}, {24, 49}, 0, {20, 20, 30, 80}},
        {"right edge past the maximum width", {119, 49}, {200, 49}, 50, {20, 20, 70, 80}},
        {"a maximum below the minimum is not applied", {119, 49}, {200, 49}, 5, {20, 20, 200, 80}},
        {"left edge", {20, 49}, {50, 0}, 0, {50, 20, 120, 80}},
        {"left edge past the right one", {20, 49}, {300, 49}, 0, {110, 20, 120, 80}},
        {"top-left corner", {20, 20}, {10, 5}, 0, {10, 5, 120, 80}},
        {"bottom edge", {69, 79}, {0, 21}, 0, {20, 20, 120, 30}},
        {"move keeps the size", {60, 50}, {70, 61}, 0, {30, 31, 130, 91}},
    };
    for (const auto& d : drags) {
        SCOPED_TRACE(d.what);
        band->SetLocation(FloatRect(20, 20, 120, 80));
        band->SetMaxWidth(d.maxWidth);
        EXPECT_EQ(c.MouseDown(mbLeft, {}, d.press.X, d.press.Y), band);
        EXPECT_TRUE(band->IsDragging());
        c.MouseMove({ssLeft}, (d.press.X + d.to.X) / 2, (d.press.Y + d.to.Y) / 2);
        c.MouseMove({ssLeft}, d.to.X, d.to.Y);
        c.MouseUp(mbLeft, {}, d.to.X, d.to.Y);
        EXPECT_FALSE(band->IsDragging());
        EXPECT_EQ(band->Location(), d.want);
    }
    // The resizing event may change the result.
    band->SetMaxWidth(0);
    band->SetLocation(FloatRect(20, 20, 120, 80));
    band->OnResizing = [](TObject*, const TFloatRect&, TFloatRect& next, TDragState, TShiftState) {
        next.Right = static_cast<float>(static_cast<int>(next.Right) / 10 * 10);
    };
    c.MouseDown(mbLeft, {}, 119, 49);
    c.MouseMove({ssLeft}, 147, 49);
    c.MouseUp(mbLeft, {}, 147, 49);
    EXPECT_EQ(band->Location(), FloatRect(20, 20, 140, 80));
}

TEST_F(Layers, RubberbandShowsSizingCursors) {
    TLayerCollection c(nullptr);
    auto* band = c.Add<TRubberbandLayer>();
    band->SetLocation(FloatRect(20, 20, 120, 80));
    band->SetCursor(crHandPoint);
    const struct {
        int x, y;
        TCursor want;
    } probes[] = {{121, 49, crSizeWE},
                  {69, 16, crSizeNS},
                  {20, 20, crSizeNWSE},
                  {119, 20, crSizeNESW},
                  {60, 50, crHandPoint}};
    for (const auto& p : probes) {
        c.MouseMove({}, p.x, p.y);
        EXPECT_EQ(Screen->Cursor(), p.want) << p.x << "," << p.y;
    }
}

TEST_F(Layers, RubberbandPaintsItsFrameAndHandles) {
    TBitmap32 buffer;
    buffer.SetSize(140, 100);
    buffer.Clear(0xFF808080);
    TLayerCollection c(nullptr);
    auto* band = c.Add<TRubberbandLayer>();
    band->SetLocation(FloatRect(20, 20, 120, 80));
    band->DoPaint(&buffer);
    const struct {
        int x, y;
        TColor32 want;
    } probes[] = {
        {20, 20, 0xFFFFFFFF},  // inside the top-left handle
        {17, 17, 0xFF000000},  // its frame
        {70, 20, 0xFFFFFFFF},  // top side handle, at the middle
        {120, 50, 0xFFFFFFFF}, // right side handle
        {120, 80, 0xFFFFFFFF}, // bottom-right handle
        {60, 50, 0xFF808080},  // the inside is left alone
        {10, 10, 0xFF808080},  // and the outside
    };
    for (const auto& p : probes)
        EXPECT_EQ(buffer.GetPixel(p.x, p.y), p.want) << p.x << "," << p.y;
    // The frame between the handles is stippled black and white.
    bool white = false, black = false;
    for (int x = 30; x < 60; ++x) {
        const TColor32 c32 = buffer.GetPixel(x, 20);
        white |= c32 == 0xFFFFFFFF;
        black |= c32 == 0xFF000000;
        EXPECT_TRUE(c32 == 0xFFFFFFFF || c32 == 0xFF000000) << x;
    }
    EXPECT_TRUE(white && black);
    // Without the frame only the handles are drawn.
    buffer.Clear(0xFF808080);
    band->SetHandles(TRBHandles{rhCorners});
    band->DoPaint(&buffer);
    EXPECT_EQ(buffer.GetPixel(40, 20), 0xFF808080u);
    EXPECT_EQ(buffer.GetPixel(70, 20), 0xFF808080u);
    EXPECT_EQ(buffer.GetPixel(20, 20), 0xFFFFFFFFu);
}

} // namespace
