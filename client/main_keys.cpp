// The main window's keyboard shortcuts: the playback transport, the camera layout, full and skin mode
// and the speaker volume.
#include "client/main.h"

#include "controls/BmButton.h"
#include "controls/Slider.h"
#include "controls/imgframe.h"

#include "platform/vcl/WinUser.h"

#include <algorithm>

void TFrmMain::FormShortCut(TWMKey& message, bool& handled) {
    if (ShortcutsEnabled == 0) return;
    ShortcutsEnabled = 0;
    // A handler that waits pumps messages: keys pressed meanwhile are ignored, and the guard comes
    // back however the handler ends.
    struct Restore {
        BYTE& flag;
        ~Restore() { flag = 1; }
    } restore{ShortcutsEnabled};
    const bool ctrl = GetAsyncKeyState(VK_CONTROL) != 0;
    const bool shift = GetAsyncKeyState(VK_SHIFT) != 0;
    handled = true;
    switch (message.CharCode) {
    case VK_RETURN:
        MenuItemFullModeClick(MenuItemFullMode);
        break;
    case VK_ESCAPE:
        MenuItemSkinModeClick(MenuItemSkinMode);
        break;
    case VK_SPACE:
        BtnPauseClick(BtnPause);
        break;
    case VK_END:
        BtnLastClick(BtnLast);
        break;
    case VK_HOME:
        BtnFirstClick(BtnFirst);
        break;
    case VK_LEFT:
        if (ctrl)
            BtnFastReverseClick(BtnFastReverse);
        else if (!shift)
            BtnReverseClick(BtnReverse);
        else if (RemoteSearchActive())
            BtnBack5Click(BtnBack5);
        else
            BtnPrevClick(BtnPrev);
        break;
    case VK_RIGHT:
        if (ctrl)
            BtnFastPlayClick(BtnFastPlay);
        else if (shift)
            BtnNextClick(BtnNext);
        else
            BtnPlayClick(BtnPlay);
        break;
    case VK_UP:
    case VK_DOWN:
        handled = VolumeKey(message.CharCode == VK_UP);
        break;
    case '1':
        BtnCamera1Click(BtnCamera1);
        break;
    case '2':
        BtnCamera2Click(BtnCamera2);
        break;
    case '3':
        BtnCamera3Click(BtnCamera3);
        break;
    case '4':
        BtnCamera4Click(BtnCamera4);
        break;
    case '5':
        BtnQuadClick(BtnQuad);
        break;
    default:
        handled = false;
        break;
    }
}

bool TFrmMain::VolumeKey(bool up) {
    if (LoggedIn != 0) return false;
    UpdateVolumeSlider();
    const int value = SliderVolume->KnobPos();
    float percent = 0;
    if (up) {
        percent = static_cast<float>(std::min(value + 10, 1000)) * 0.1F;
    } else {
        percent = static_cast<float>(std::max(value - 10, 0) / 10);
    }
    SetVolume(percent);
    ImgFrame4->SetCurrentFrame(percent == 0 ? 1 : 0);
    return true;
}
