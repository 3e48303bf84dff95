// The live pipeline on one core: a recorded stream of four D1 (704 x 480) cameras at 30 frames a second
// in memory, reassembled by the A/V receiver in the reads it asks for, routed, decoded into the window's
// JPEG image, drawn stretched into the four screens of the quad layout and its overlays computed;
// against libjpeg's bare decode of the same pictures in the same run. The counter "ratio" is the
// pipeline's frame rate over the bare decode's (1.0 = as fast).
//
// The A/V parser alone: the receiver's reassembly of the same stream in bytes per second, against
// memcpy of the same bytes in the same read sizes.
#include "client/AvFrameRoute.h"
#include "client/FrameOverlay.h"
#include "client/JpegScreen.h"
#include "client/ScreenLayout.h"
#include "formats/AvStreamReceiver.h"
#include "tools/recgen/SynthStream.h"

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Jpeg.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <sched.h>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct RecordedStream {
    std::vector<BYTE> bytes;
    std::vector<std::vector<BYTE>> pictures;
};

// Two seconds of four cameras at 30 frames a second, with sound and side data, as the recorder sends.
const RecordedStream& Stream() {
    static const RecordedStream stream = [] {
        recgen::SynthStreamOptions o;
        o.cameras = 4;
        o.standard = QELSTD_NTSC;
        o.large = true;
        recgen::SynthStream synth(o, 1199188800);
        RecordedStream s;
        while (s.pictures.size() < 240) {
            const QelAvFrame f = synth.Next();
            const std::vector<BYTE> bytes = f.Encode();
            s.bytes.insert(s.bytes.end(), bytes.begin(), bytes.end());
            if (f.info.IsVideo()) s.pictures.emplace_back(f.Payload1().begin(), f.Payload1().end());
        }
        return s;
    }();
    return stream;
}

// ---- libjpeg alone ----

struct BareError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void BareErrorExit(j_common_ptr c) {
    std::longjmp(reinterpret_cast<BareError*>(c->err)->jump, 1);
}

void SourceNop(j_decompress_ptr) {}
boolean SourceFill(j_decompress_ptr) {
    return FALSE;
}
void SourceSkip(j_decompress_ptr c, long n) {
    const std::size_t k = std::min<std::size_t>(static_cast<std::size_t>(n), c->src->bytes_in_buffer);
    c->src->next_input_byte += k;
    c->src->bytes_in_buffer -= k;
}

// Decodes one picture into 32-bit rows as the platform's codec does; false on failure.
bool BareDecode(const std::vector<BYTE>& picture, std::vector<std::uint32_t>& pixels) {
    jpeg_decompress_struct c;
    BareError err;
    jpeg_source_mgr src;
    c.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = BareErrorExit;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&c);
        return false;
    }
    jpeg_create_decompress(&c);
    src.init_source = SourceNop;
    src.fill_input_buffer = SourceFill;
    src.skip_input_data = SourceSkip;
    src.resync_to_restart = jpeg_resync_to_restart;
    src.term_source = SourceNop;
    src.next_input_byte = picture.data();
    src.bytes_in_buffer = picture.size();
    c.src = &src;
    jpeg_read_header(&c, TRUE);
    c.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&c);
    pixels.resize(static_cast<std::size_t>(c.output_width) * c.output_height);
    while (c.output_scanline < c.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels.data() + c.output_scanline * c.output_width);
        jpeg_read_scanlines(&c, &row, 1);
    }
    jpeg_finish_decompress(&c);
    jpeg_destroy_decompress(&c);
    return true;
}

// Seconds to decode every picture once, or -1.
double BareRun(std::size_t& frames) {
    std::vector<std::uint32_t> pixels;
    frames = 0;
    const auto start = Clock::now();
    for (const auto& picture : Stream().pictures) {
        if (!BareDecode(picture, pixels)) return -1;
        ++frames;
    }
    benchmark::DoNotOptimize(pixels.data());
    return SecondsSince(start);
}

// ---- the pipeline ----

class Pipeline {
public:
    Pipeline() {
        form_ = new TForm(Application);
        form_->SetBorderStyle(bsNone);
        form_->SetBounds(0, 0, 735, 626);
        auto* panelScreen = new TPanel(form_);
        panelScreen->SetParent(form_);
        ScreenLayoutInput in;
        in.videoStandard = QELSTD_NTSC;
        in.screenCount = 4;
        in.lastWidth = 704;
        const ScreenLayout layout = ComputeScreenLayout(in);
        const LayoutBox& ps = *layout.panelScreen;
        panelScreen->SetBounds(ps.Left, ps.Top, ps.Width, ps.Height);
        for (int k = 0; k < 4; ++k) {
            auto* panel = new TPanel(form_);
            panel->SetParent(panelScreen);
            const LayoutBox& p = *layout.panels[k];
            panel->SetBounds(p.Left, p.Top, p.Width, p.Height);
            screens_[k] = new TImage(form_);
            screens_[k]->SetParent(panel);
            screens_[k]->SetStretch(true);
            const LayoutBox& s = *layout.screens[k];
            screens_[k]->SetBounds(s.Left, s.Top, s.Width, s.Height);
        }
        form_->Show();
        Application->ProcessMessages();
        switches_.live = true;
        receiver_.SetSink([this](const CAvReceivedFrame& f) { OnFrame(f); });
    }
    ~Pipeline() { delete form_; }
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    // Seconds for the whole stream, or -1 when a picture failed.
    double Run(std::size_t& frames) {
        frames_ = 0;
        failed_ = false;
        const RecordedStream& s = Stream();
        const auto start = Clock::now();
        receiver_.Feed(s.bytes.data(), s.bytes.size());
        const double seconds = SecondsSince(start);
        frames = frames_;
        return failed_ ? -1 : seconds;
    }

private:
    void OnFrame(const CAvReceivedFrame& f) {
        const AvFrameRoute route = RouteAvFrame(f.info, switches_, show_);
        if (!route.drawPicture) return;
        TImage* screen = screens_[route.timeChannel - 1];
        const auto p1 = f.Payload1();
        if (!ShowJpegPicture(jpeg_, *screen, p1.data(), p1.size(), f.info.width)) failed_ = true;
        screen->Repaint();
        benchmark::DoNotOptimize(
            ReadFrameOverlay(f.Payload2(), f.info.channel, latitude_, longitude_, false));
        ++frames_;
    }

    TForm* form_ = nullptr;
    TImage* screens_[4] = {};
    TJPEGImage jpeg_;
    CAvStreamReceiver receiver_;
    AvFrameSwitches switches_;
    AvShowState show_;
    double latitude_ = 0, longitude_ = 0;
    std::size_t frames_ = 0;
    bool failed_ = false;
};

void BM_LivePipelineAgainstBareDecode(benchmark::State& state) {
    Pipeline pipeline;
    double pipelineSeconds = 0, bareSeconds = 0;
    std::size_t pipelineFrames = 0, bareFrames = 0;
    for (auto _ : state) {
        std::size_t p = 0, b = 0;
        const double ps = pipeline.Run(p);
        const double bs = BareRun(b);
        if (ps < 0 || bs < 0 || p != Stream().pictures.size()) {
            state.SkipWithError("a picture did not decode");
            return;
        }
        pipelineSeconds += ps;
        bareSeconds += bs;
        pipelineFrames += p;
        bareFrames += b;
    }
    const double pipelineFps = static_cast<double>(pipelineFrames) / pipelineSeconds;
    const double bareFps = static_cast<double>(bareFrames) / bareSeconds;
    state.counters["pipeline_fps"] = pipelineFps;
    state.counters["bare_decode_fps"] = bareFps;
    state.counters["ratio"] = pipelineFps / bareFps;
}
BENCHMARK(BM_LivePipelineAgainstBareDecode)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

// ---- the parser alone ----

// Copies the stream in the read sizes the receiver asks for, into its read buffer, and reassembles.
double ParserRun(CAvStreamReceiver& r) {
    const RecordedStream& s = Stream();
    const auto start = Clock::now();
    std::size_t at = 0;
    while (at < s.bytes.size()) {
        const std::size_t n =
            std::min<std::size_t>(static_cast<std::size_t>(r.ReadSize()), s.bytes.size() - at);
        std::memcpy(r.ReadBuffer(), s.bytes.data() + at, n);
        r.Consume(r.ReadBuffer(), static_cast<int>(n));
        at += n;
    }
    return SecondsSince(start);
}

// The same bytes copied in the same pieces into a read buffer, and once more into a frame buffer.
double MemcpyRun(const std::vector<std::size_t>& pieces) {
    const RecordedStream& s = Stream();
    static std::vector<BYTE> readBuffer(CAvStreamReceiver::kReadBufferSize), frame(kQelAvMaxFrameSize);
    const auto start = Clock::now();
    std::size_t at = 0, fill = 0;
    for (std::size_t n : pieces) {
        std::memcpy(readBuffer.data(), s.bytes.data() + at, n);
        if (fill + n > frame.size()) fill = 0;
        std::memcpy(frame.data() + fill, readBuffer.data(), n);
        fill += n;
        at += n;
    }
    benchmark::DoNotOptimize(frame.data());
    return SecondsSince(start);
}

void BM_AvParserAgainstMemcpy(benchmark::State& state) {
    std::size_t frames = 0;
    CAvStreamReceiver r([&](const CAvReceivedFrame& f) {
        ++frames;
        benchmark::DoNotOptimize(f.data.data());
    });
    // The read sizes the receiver asks for along the stream.
    std::vector<std::size_t> pieces;
    {
        CAvStreamReceiver probe;
        const RecordedStream& s = Stream();
        for (std::size_t at = 0; at < s.bytes.size();) {
            const std::size_t n =
                std::min<std::size_t>(static_cast<std::size_t>(probe.ReadSize()), s.bytes.size() - at);
            probe.Feed(s.bytes.data() + at, n);
            pieces.push_back(n);
            at += n;
        }
    }
    double parserSeconds = 0, copySeconds = 0;
    for (auto _ : state) {
        parserSeconds += ParserRun(r);
        copySeconds += MemcpyRun(pieces);
    }
    if (frames != state.iterations() * (Stream().pictures.size() + 2)) {
        state.SkipWithError("frames lost");
        return;
    }
    const double bytes = static_cast<double>(Stream().bytes.size()) * static_cast<double>(state.iterations());
    state.counters["parser_MBps"] = bytes / parserSeconds / (1 << 20);
    state.counters["memcpy_MBps"] = bytes / copySeconds / (1 << 20);
    state.counters["ratio"] = copySeconds / parserSeconds;
}
BENCHMARK(BM_AvParserAgainstMemcpy)->Unit(benchmark::kMillisecond)->Iterations(200)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    // One core: the toolkit's helper threads, made later, inherit it.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu() >= 0 ? sched_getcpu() : 0, &one);
    sched_setaffinity(0, sizeof one, &one);
    // Screens are drawn without a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
