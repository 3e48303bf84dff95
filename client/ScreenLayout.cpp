#include "client/ScreenLayout.h"

namespace {

constexpr int kNtsc = 1;

void SingleMarks(ScreenLayout& l, int camera) {
    l.hideMarks = true;
    if (camera == 0) l.markS1Left = 492;
    l.markALeft[camera] = 524;
    l.markMLeft[camera] = 556;
}

void QuadMarks(ScreenLayout& l, int camera) {
    if (camera == 0) l.markS1Left = 187;
    l.markALeft[camera] = 219;
    l.markMLeft[camera] = 251;
}

void HideAll(ScreenLayout& l) {
    l.panelVisible.fill(false);
    l.screenVisible.fill(false);
}

ScreenLayout SkinSingle(const ScreenLayoutInput& in, int c) {
    ScreenLayout l;
    HideAll(l);
    l.checkCamera = c;
    if (in.covert[c]) return l;
    const bool ntsc = in.videoStandard == kNtsc;
    l.panelScreen = LayoutBox{22, 24, 691, ntsc ? 473 : 569};
    const int height = ntsc ? 480 : 576;
    l.screens[c] = in.lastWidth == 352 ? LayoutBox{-8, -6, 704, height} : LayoutBox{-16, -6, 720, height};
    l.screenVisible[c] = true;
    l.panels[c] = LayoutBox{1, 1, 689, ntsc ? 471 : 567};
    l.panelVisible[c] = true;
    SingleMarks(l, c);
    return l;
}

ScreenLayout SkinQuad(const ScreenLayoutInput& in) {
    ScreenLayout l;
    HideAll(l);
    l.hideMarks = true;
    l.checkQuad = true;
    const bool ntsc = in.videoStandard == kNtsc;
    l.panelScreen = LayoutBox{22, 24, 691, ntsc ? 473 : 569};
    const int lower = ntsc ? 237 : 285;
    const TPoint corners[4] = {Point(1, 1), Point(346, 1), Point(1, lower), Point(346, lower)};
    const int height = ntsc ? 240 : 288;
    for (int c = 0; c < 4; ++c) {
        // A covert camera's panel keeps its old bounds and, with its screen, stays hidden.
        if (in.covert[c]) continue;
        l.panels[c] = LayoutBox{corners[c].X, corners[c].Y, 344, ntsc ? 235 : 283};
        l.panelVisible[c] = true;
        QuadMarks(l, c);
        l.screens[c] = in.lastWidth == 352 ? LayoutBox{-4, -3, 352, height} : LayoutBox{-8, -3, 360, height};
        l.screenVisible[c] = true;
    }
    return l;
}

ScreenLayout FullQuad(const ScreenLayoutInput& in) {
    ScreenLayout l;
    const int w = in.displayWidth, h = in.displayHeight, hw = w / 2, hh = h / 2;
    l.window = LayoutBox{0, 0, w, h};
    l.panelScreen = LayoutBox{0, 0, w, h};
    l.checkQuad = true;
    l.timeLabelHidden = {true, true, false, true};
    l.timeLabelShown[2] = Point(20, hh - 70);
    l.quarters = {LayoutBox{0, 0, hw, hh}, LayoutBox{hw, 0, hw, hh}, LayoutBox{0, hh, hw, hh},
                  LayoutBox{hw, hh, hw, hh}};
    const TPoint corners[4] = {Point(1, 1), Point(hw + 1, 1), Point(1, hh + 1), Point(hw + 1, hh + 1)};
    for (int c = 0; c < 4; ++c) {
        if (in.covert[c]) continue;
        l.panels[c] = LayoutBox{corners[c].X, corners[c].Y, hw - 2, hh - 2};
        l.panelVisible[c] = true;
        QuadMarks(l, c);
        l.screens[c] = LayoutBox{-15, -10, hw + 30, hh + 20};
        l.screenVisible[c] = true;
    }
    return l;
}

ScreenLayout FullSingle(const ScreenLayoutInput& in, int c) {
    ScreenLayout l;
    const int w = in.displayWidth, h = in.displayHeight;
    l.window = LayoutBox{0, 0, w, h};
    l.panelScreen = LayoutBox{0, 0, w, h};
    l.quarters[3] = LayoutBox{0, 0, w, h};
    HideAll(l);
    // Nothing of a covert camera shows, in no layout.
    if (in.covert[c]) return l;
    l.panels[c] = LayoutBox{1, 1, w - 2, h - 2};
    l.panelVisible[c] = true;
    l.screens[c] = LayoutBox{-15, -10, w + 30, h + 20};
    l.screenVisible[c] = true;
    l.checkCamera = c;
    SingleMarks(l, c);
    l.timeLabelShown[c] = Point(20, h - 70);
    return l;
}

} // namespace

ScreenLayout ComputeScreenLayout(const ScreenLayoutInput& in) {
    const int camera = in.camera >= 0 && in.camera <= 3 ? in.camera : 0;
    if (in.fullMode) return in.screenCount == 4 ? FullQuad(in) : FullSingle(in, camera);
    return in.screenCount == 4 ? SkinQuad(in) : SkinSingle(in, camera);
}

std::span<const ControlTop> ControlTops() {
    static const ControlTop tops[] = {
        {"LabelSearchTime", 510, 604},
        {"Label2", 510, 604},
        {"Label3", 510, 604},
        {"lbState", 510, 604},
        {"Label1", 556, 650},
        {"BtnSearch", 551, 645},
        {"SliderSearch", 551, 645},
        {"BtnFirst", 583, 677},
        {"BtnPrev", 583, 677},
        {"BtnFastReverse", 583, 677},
        {"BtnReverse", 583, 677},
        {"BtnPlay", 583, 677},
        {"BtnPause", 583, 677},
        {"BtnStop", 583, 677},
        {"BtnFastPlay", 583, 677},
        {"BtnNext", 583, 677},
        {"BtnLast", 583, 677},
        {"BtnCamera1", 583, 677},
        {"BtnCamera2", 583, 677},
        {"BtnCamera3", 583, 677},
        {"BtnCamera4", 583, 677},
        {"BtnQuad", 583, 677},
        {"BtnBack5", 583, 677},
        {"BtnLoglist", 543, 637},
        {"BtnOpenMap", 548, 642},
        {"SliderVolume", 599, 693},
        {"ImgFrame4", 600, 694},
        {"ImgFrame5", 584, 678},
        {"ImgHideBtn", 568, 662},
        {"BtnRecStart", 577, 671},
        {"BtnRecStop", 577, 671},
        // The stream's activity picture sits in the state line.
        {"ImgAniState", 510, 604},
    };
    return tops;
}

std::array<int, 4> PlaybackButtonLefts(bool local) {
    if (local) return {240, 271, 302, 364};
    return {116, 147, 178, 209};
}
