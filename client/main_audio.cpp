// Sound: the built-in G.726 library loaded and unloaded, recorded sound played from the reader's audio
// ring, the stream's sound when live sound is on, and the wave-out volume with its slider.
#include "client/main.h"

#include "client/G726Audio.h"

#include "controls/Slider.h"
#include "controls/imgframe.h"
#include "playback/Qelvidfile.h"

#include "platform/audio/Mixer.h"
#include "platform/core/Debug.h"
#include "platform/win/Modules.h"

#include <cmath>

namespace {

constexpr const char* kAudioLibraryName = "g726lib.dll";
using TCreateProc = void (*)(CG726Audio**);
using TDestroyProc = void (*)(CG726Audio*);

} // namespace

bool TFrmMain::LoadG726() {
    G726Audio = nullptr;
    if (AudioLibrary == nullptr) AudioLibrary = LoadLibrary(kAudioLibraryName);
    if (AudioLibrary == nullptr) return false;
    const FARPROC create = GetProcAddress(AudioLibrary, "G726Struct_Create");
    if (create == nullptr) return false;
    reinterpret_cast<TCreateProc>(create)(&G726Audio);
    return G726Audio != nullptr;
}

void TFrmMain::UnloadG726() {
    try {
        if (AudioLibrary != nullptr && G726Audio != nullptr) {
            if (const FARPROC destroy = GetProcAddress(AudioLibrary, "G726Struct_Destroy"))
                reinterpret_cast<TDestroyProc>(destroy)(G726Audio);
        }
        if (AudioLibrary != nullptr) FreeLibrary(AudioLibrary);
    } catch (const std::exception& e) {
        Application->ShowException(e);
    }
    G726Audio = nullptr;
    AudioLibrary = nullptr;
}

void TFrmMain::PlayAudioData(const BYTE* data, std::size_t length) {
    if (G726Audio == nullptr) return;
    if (PlayForward == 0 || PlaySpeed != 1) {
        G726Audio->AudioStop();
        return;
    }
    PlayAudioBlocks(data, length);
}

void TFrmMain::PlayAudioBlocks(const BYTE* data, std::size_t length) {
    if (G726Audio == nullptr || data == nullptr) return;
    // A remainder shorter than a block is not played.
    for (std::size_t at = 0; at + kG726BlockBytes <= length; at += kG726BlockBytes)
        G726Audio->PlayBlock(data + at);
}

void TFrmMain::PlayAudioRecord(int index) {
    std::vector<QelFrameRecord>& ring = VideoReader->AudioRing();
    QelRingHead& head = VideoReader->AudioHead();
    if (index < 0 || static_cast<std::size_t>(index) >= ring.size()) return;
    QelFrameRecord& record = ring[static_cast<std::size_t>(index)];
    PlayAudioData(record.payload1.get(), record.payload1 ? record.payloadLen1 : 0);
    if (index == head.readIndex && head.count.load() > 0) {
        VideoReader->ReleaseOldest(head, ring);
    } else {
        record.payload1.reset();
    }
}

float TFrmMain::GetVolume() {
    return static_cast<float>(GetWaveOutVolume());
}

void TFrmMain::SetVolume(float percent) {
    SetWaveOutVolume(percent);
}

void TFrmMain::UpdateVolumeSlider() {
    const float v = GetVolume();
    const int n = static_cast<int>(v);
    SliderVolume->SetKnobPos(n * 10 + (static_cast<float>(n) < v ? 1 : 0));
}

void TFrmMain::TimerVolumeTimer(TObject*) {
    UpdateVolumeSlider();
}

void TFrmMain::SliderVolumeMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    if (LoggedIn != 0) return;
    const float percent = 0.1F * static_cast<float>(SliderVolume->KnobPos());
    SetVolume(percent);
    ImgFrame4->SetCurrentFrame(percent == 0 ? 1 : 0);
}
