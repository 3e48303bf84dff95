// The wave-out volume in percent (0..100): the playback volume of the sound card's mixer ("Master",
// else "PCM") when there is one, else a gain that the wave-out applies to the samples itself.
#pragma once

#include <string>

// The current volume; the software gain's when there is no mixer.
double GetWaveOutVolume();
// Clamped to 0..100.
void SetWaveOutVolume(double percent);
// True when the volume is the sound card's own.
bool WaveOutVolumeIsMixer();
// The factor the wave-out applies: 1 under a mixer, the volume / 100 without one.
double WaveOutGain();

namespace mixer_testing {

// The ALSA card whose mixer later calls use ("" for the default; a name that does not open means no
// mixer). Resets the software gain to 100 %.
void SetMixerCard(const std::string& card);

} // namespace mixer_testing
