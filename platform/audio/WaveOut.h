// Sound output: 16-bit mono samples at a fixed rate, played on the default ALSA device by a thread of
// its own. Where no device can be opened (a machine without sound) the samples go to a silent sink, so
// that playing never fails. Writing never blocks the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TWaveOut {
public:
    explicit TWaveOut(unsigned sampleRate = 8000);
    ~TWaveOut();
    TWaveOut(const TWaveOut&) = delete;
    TWaveOut& operator=(const TWaveOut&) = delete;

    // Queues the samples after the software gain (WaveOutGain). A device that falls behind by more than
    // a few seconds loses its oldest samples, never the caller's time.
    void Write(const std::int16_t* samples, std::size_t count);
    // Drops what is queued and not yet played.
    void Reset();
    // No device: everything written is discarded.
    bool Silent() const;
    unsigned SampleRate() const { return rate_; }

private:
    struct Device;
    unsigned rate_;
    std::unique_ptr<Device> device_;
};

namespace wave_out_testing {

// Sees every sample written to any wave-out, after the gain, in order (nullptr stops).
using TSampleCapture = std::function<void(const std::int16_t* samples, std::size_t count)>;
void SetCapture(TSampleCapture capture);
// The ALSA device later wave-outs open ("" for the default device).
void SetDeviceName(const std::string& name);

} // namespace wave_out_testing
