#include "bitmap32/Bmp32_System.h"

#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#define BMP32_X86 1
#endif

namespace Bmp32_System {

DWORD GetTickCount() {
    return ::GetTickCount();
}

namespace {

void PlatformPerfCounter(std::int64_t& count, std::int64_t& frequency) {
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
}

TPerfCounterSource perfSource = PlatformPerfCounter;

} // namespace

TPerfCounterSource SetPerfCounterSource(TPerfCounterSource source) {
    TPerfCounterSource previous = perfSource;
    perfSource = source ? source : PlatformPerfCounter;
    return previous;
}

void TPerfTimer::Start() {
    std::int64_t frequency = 0;
    perfSource(StartCount, frequency);
}

std::int64_t TPerfTimer::ReadValue() {
    perfSource(StopCount, Frequency);
    if (Frequency <= 0) return 0;
    // Exact product and quotient; the remainder decides ties toward the even count.
    __int128 num = static_cast<__int128>(StopCount - StartCount) * 1000000;
    __int128 q = num / Frequency;
    __int128 r = num % Frequency;
    __int128 twice = (r < 0 ? -r : r) * 2;
    if (twice > Frequency || (twice == Frequency && (q & 1) != 0)) q += num < 0 ? -1 : 1;
    return static_cast<std::int64_t>(q);
}

std::string TPerfTimer::ReadNanoseconds() {
    return IntToStr(ReadValue());
}

std::string TPerfTimer::ReadMilliseconds() {
    return FloatToStr(static_cast<double>(ReadValue()) / 1000.0);
}

namespace {

bool RealHasCpuId() {
#ifdef BMP32_X86
    // On 32-bit builds this toggles the identification bit of the flags register.
    return __get_cpuid_max(0, nullptr) != 0;
#else
    return false;
#endif
}

void RealCpuId(DWORD leaf, DWORD regs[4]) {
    regs[0] = regs[1] = regs[2] = regs[3] = 0;
#ifdef BMP32_X86
    unsigned a = 0, b = 0, c = 0, d = 0;
    // Leaves past the highest of their range read as zeros.
    if (__get_cpuid(leaf, &a, &b, &c, &d) == 0) return;
    regs[0] = a;
    regs[1] = b;
    regs[2] = c;
    regs[3] = d;
#else
    (void)leaf;
#endif
}

const TCpuIdProbe realProbe{RealHasCpuId, RealCpuId};
const TCpuIdProbe* probe = &realProbe;

} // namespace

const TCpuIdProbe* SetCpuIdProbe(const TCpuIdProbe* newProbe) {
    const TCpuIdProbe* previous = probe == &realProbe ? nullptr : probe;
    probe = newProbe ? newProbe : &realProbe;
    return previous;
}

bool HasInstructionSet(TCPUInstructionSet InstructionSet) {
    if (!probe->HasCpuId()) return false;
    DWORD regs[4];
    probe->CpuId(1, regs);
    if (((regs[0] >> 8) & 0x0F) < 5) return false;
    const DWORD features = regs[3];
    const DWORD mask = CPUISChecks[InstructionSet];
    auto extendedFeatures = [](DWORD& extended) {
        DWORD ext[4];
        probe->CpuId(0x80000000u, ext);
        if (ext[0] < 0x80000001u) return false;
        probe->CpuId(0x80000001u, ext);
        extended = ext[3];
        return true;
    };
    DWORD extended = 0;
    switch (InstructionSet) {
    case ciEMMX:
        if (features & CPUISChecks[ciSSE]) return true;
        return extendedFeatures(extended) && (extended & mask) != 0;
    case ci3DNow:
    case ci3DNowExt:
        return extendedFeatures(extended) && (extended & mask) != 0;
    default:
        return (features & mask) != 0;
    }
}

bool HasMMX() {
    return HasInstructionSet(ciMMX);
}
bool HasEMMX() {
    return HasInstructionSet(ciEMMX);
}
bool HasSSE() {
    return HasInstructionSet(ciSSE);
}
bool HasSSE2() {
    return HasInstructionSet(ciSSE2);
}
bool Has3DNow() {
    return HasInstructionSet(ci3DNow);
}
bool Has3DNowExt() {
    return HasInstructionSet(ci3DNowExt);
}

bool HasAVX2() {
#ifdef BMP32_X86
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
#else
    return false;
#endif
}

bool ThemesInUse = false;
HTHEME ScrollBarTheme = nullptr;
HTHEME GlobalsTheme = nullptr;

TThemeNexus::TThemeNexus() {
    OpenVisualStyles();
}

TThemeNexus::~TThemeNexus() {
    CloseVisualStyles();
}

void TThemeNexus::OpenVisualStyles() {
    // Loading the style library fails here, so this is the "not loaded" branch of the open step.
    ThemesInUse = false;
}

void TThemeNexus::CloseVisualStyles() {
    ScrollBarTheme = nullptr;
    GlobalsTheme = nullptr;
}

LRESULT TThemeNexus::WndProc(UINT Msg, WPARAM, LPARAM) {
    if (Msg == WM_THEMECHANGED) {
        CloseVisualStyles();
        OpenVisualStyles();
    }
    return 0;
}

TPerfTimer& SharedPerfTimer() {
    static TPerfTimer timer;
    return timer;
}

TThemeNexus& SharedThemeNexus() {
    static TThemeNexus nexus;
    return nexus;
}

} // namespace Bmp32_System
