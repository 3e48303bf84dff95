#include "platform/audio/WaveOut.h"

#include "platform/audio/AlsaQuiet.h"
#include "platform/audio/Mixer.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace {

std::mutex gHooksMutex;
wave_out_testing::TSampleCapture gCapture;
std::string gDeviceName = "default";

// Latency of the device's own buffer, and how far it may fall behind before old sound is dropped.
constexpr unsigned kLatencyUs = 200000;
constexpr unsigned kMaxQueuedSeconds = 4;

} // namespace

struct TWaveOut::Device {
    snd_pcm_t* pcm = nullptr;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::int16_t> queue;
    bool stop = false;
    std::thread thread;

    void Run() {
        std::vector<std::int16_t> chunk;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [&] { return stop || !queue.empty(); });
                if (stop) return;
                const std::size_t n = std::min<std::size_t>(queue.size(), 1024);
                chunk.assign(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(n));
                queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(n));
            }
            const std::int16_t* at = chunk.data();
            snd_pcm_uframes_t left = chunk.size();
            while (left > 0) {
                const snd_pcm_sframes_t written = snd_pcm_writei(pcm, at, left);
                if (written < 0) {
                    // An underrun or a suspended device: start again; anything else loses this chunk.
                    if (snd_pcm_recover(pcm, static_cast<int>(written), 1) < 0) break;
                    continue;
                }
                at += written;
                left -= static_cast<snd_pcm_uframes_t>(written);
            }
        }
    }
};

TWaveOut::TWaveOut(unsigned sampleRate) : rate_(sampleRate) {
    SilenceAlsaErrors();
    std::string name;
    {
        std::lock_guard<std::mutex> lock(gHooksMutex);
        name = gDeviceName;
    }
    snd_pcm_t* pcm = nullptr;
    // Not blocking while opening: a device held by another program is as good as none.
    if (snd_pcm_open(&pcm, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return;
    if (snd_pcm_nonblock(pcm, 0) < 0 ||
        snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, rate_, 1, kLatencyUs) <
            0) {
        snd_pcm_close(pcm);
        return;
    }
    device_ = std::make_unique<Device>();
    device_->pcm = pcm;
    device_->thread = std::thread([d = device_.get()] { d->Run(); });
}

TWaveOut::~TWaveOut() {
    if (!device_) return;
    {
        std::lock_guard<std::mutex> lock(device_->mutex);
        device_->stop = true;
    }
    device_->wake.notify_all();
    device_->thread.join();
    snd_pcm_drop(device_->pcm);
    snd_pcm_close(device_->pcm);
}

bool TWaveOut::Silent() const {
    return !device_;
}

void TWaveOut::Write(const std::int16_t* samples, std::size_t count) {
    if (samples == nullptr || count == 0) return;
    const double gain = WaveOutGain();
    std::vector<std::int16_t> scaled(samples, samples + count);
    if (gain < 1.0) {
        for (std::int16_t& s : scaled)
            s = static_cast<std::int16_t>(std::lround(static_cast<double>(s) * gain));
    }
    {
        std::lock_guard<std::mutex> lock(gHooksMutex);
        if (gCapture) gCapture(scaled.data(), scaled.size());
    }
    if (!device_) return;
    {
        std::lock_guard<std::mutex> lock(device_->mutex);
        device_->queue.insert(device_->queue.end(), scaled.begin(), scaled.end());
        const std::size_t limit = static_cast<std::size_t>(rate_) * kMaxQueuedSeconds;
        if (device_->queue.size() > limit)
            device_->queue.erase(device_->queue.begin(),
                                 device_->queue.begin() +
                                     static_cast<std::ptrdiff_t>(device_->queue.size() - limit));
    }
    device_->wake.notify_one();
}

void TWaveOut::Reset() {
    if (!device_) return;
    std::lock_guard<std::mutex> lock(device_->mutex);
    device_->queue.clear();
}

namespace wave_out_testing {

void SetCapture(TSampleCapture capture) {
    std::lock_guard<std::mutex> lock(gHooksMutex);
    gCapture = std::move(capture);
}

void SetDeviceName(const std::string& name) {
    std::lock_guard<std::mutex> lock(gHooksMutex);
    gDeviceName = name.empty() ? "default" : name;
}

} // namespace wave_out_testing
