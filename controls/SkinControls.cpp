#include "controls/SkinControls.h"

#include "controls/BmAni.h"
#include "controls/BmButton.h"
#include "controls/BmFrame.h"
#include "controls/BmGauge.h"
#include "controls/IPEdit.h"
#include "controls/ImgAnimation.h"
#include "controls/MMTimer.h"
#include "controls/Slider.h"
#include "controls/imgframe.h"

#include "platform/vcl/FormReader.h"

#include <mutex>

void RegisterSkinControls() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterComponentClass<TBmFrame>("TBmFrame");
        RegisterComponentClass<TBmAnimation>("TBmAnimation");
        RegisterComponentClass<TBmGauge>("TBmGauge");
        RegisterComponentClass<TBmButton>("TBmButton");
        RegisterComponentClass<TImgFrame>("TImgFrame");
        RegisterComponentClass<TImgAnimation>("TImgAnimation");
        RegisterComponentClass<TBitSlider>("TBitSlider");
        RegisterComponentClass<TMMTimer>("TMMTimer");
        RegisterComponentClass<jIPEdit>("jIPEdit");
    });
}
