#include "platform/audio/Mixer.h"

#include "platform/audio/AlsaQuiet.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <mutex>

namespace {

std::mutex gCardMutex;
std::string gCard = "default";
std::atomic<double> gSoftwareVolume{100.0};
// Whether the card has a mixer: -1 not asked yet; every call that opens it answers again.
std::atomic<int> gHasMixer{-1};

std::string Card() {
    std::lock_guard<std::mutex> lock(gCardMutex);
    return gCard;
}

void QuietHandler(const char*, int, const char*, int, const char*, ...) {}

// The card's playback volume element, open for the time of one call.
class MixerElement {
public:
    MixerElement() {
        SilenceAlsaErrors();
        const std::string card = Card();
        if (snd_mixer_open(&mixer_, 0) < 0) return;
        if (snd_mixer_attach(mixer_, card.c_str()) < 0 ||
            snd_mixer_selem_register(mixer_, nullptr, nullptr) < 0 || snd_mixer_load(mixer_) < 0)
            return;
        for (const char* name : {"Master", "PCM", "Speaker"}) {
            snd_mixer_selem_id_t* id = nullptr;
            snd_mixer_selem_id_alloca(&id);
            snd_mixer_selem_id_set_index(id, 0);
            snd_mixer_selem_id_set_name(id, name);
            snd_mixer_elem_t* e = snd_mixer_find_selem(mixer_, id);
            if (e != nullptr && snd_mixer_selem_has_playback_volume(e) &&
                snd_mixer_selem_get_playback_volume_range(e, &min_, &max_) == 0) {
                element_ = e;
                return;
            }
        }
    }
    ~MixerElement() {
        if (mixer_ != nullptr) snd_mixer_close(mixer_);
    }
    MixerElement(const MixerElement&) = delete;
    MixerElement& operator=(const MixerElement&) = delete;

    bool Found() const { return element_ != nullptr; }
    double Get() const {
        long value = min_;
        snd_mixer_selem_get_playback_volume(element_, SND_MIXER_SCHN_FRONT_LEFT, &value);
        const double range = max_ > min_ ? static_cast<double>(max_ - min_) : 1.0;
        return static_cast<double>(value - min_) * 100.0 / range;
    }
    void Set(double percent) const {
        const long value = min_ + static_cast<long>(static_cast<double>(max_ - min_) * percent * 0.01);
        snd_mixer_selem_set_playback_volume_all(element_, value);
    }

private:
    snd_mixer_t* mixer_ = nullptr;
    snd_mixer_elem_t* element_ = nullptr;
    long min_ = 0;
    long max_ = 0;
};

} // namespace

void SilenceAlsaErrors() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(&QuietHandler); });
}

double GetWaveOutVolume() {
    const MixerElement mixer;
    gHasMixer.store(mixer.Found() ? 1 : 0);
    return mixer.Found() ? mixer.Get() : gSoftwareVolume.load();
}

void SetWaveOutVolume(double percent) {
    percent = std::clamp(percent, 0.0, 100.0);
    const MixerElement mixer;
    gHasMixer.store(mixer.Found() ? 1 : 0);
    if (mixer.Found())
        mixer.Set(percent);
    else
        gSoftwareVolume.store(percent);
}

bool WaveOutVolumeIsMixer() {
    const bool found = MixerElement().Found();
    gHasMixer.store(found ? 1 : 0);
    return found;
}

double WaveOutGain() {
    if (gHasMixer.load() < 0) WaveOutVolumeIsMixer();
    return gHasMixer.load() == 1 ? 1.0 : gSoftwareVolume.load() / 100.0;
}

namespace mixer_testing {

void SetMixerCard(const std::string& card) {
    std::lock_guard<std::mutex> lock(gCardMutex);
    gCard = card.empty() ? "default" : card;
    gSoftwareVolume.store(100.0);
    gHasMixer.store(-1);
}

} // namespace mixer_testing
