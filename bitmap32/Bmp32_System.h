// System services of the bitmap library: the millisecond tick every timed wait reads, a performance
// timer, the processor's SIMD feature tests that choose the pixel routines, and the visual-style
// service (never in use on this platform).
//
// Callers qualify these names (Bmp32_System::GetTickCount); the header does not pull them into the global
// namespace, so the platform's own GetTickCount stays unambiguous.
#pragma once

#include "platform/core/Types.h"

#include <cstdint>
#include <string>

namespace Bmp32_System {

// The platform's tick, unchanged: tests that replace the platform's tick source reach every wait that
// reads this one. Elapsed time is (DWORD)(now - start), which stays right across the 2^32 ms wrap.
DWORD GetTickCount();
inline DWORD TickElapsed(DWORD start, DWORD now) {
    return now - start;
}

class TPerfTimer {
public:
    std::int64_t Frequency = 0;
    std::int64_t StartCount = 0;
    std::int64_t StopCount = 0;

    void Start();
    // Microseconds since Start (since a count of 0 without one), rounded half to even.
    std::int64_t ReadValue();
    // The same microsecond count as decimal text (the name is historical: it is not nanoseconds).
    std::string ReadNanoseconds();
    // The microsecond count / 1000 in the default float-to-text format.
    std::string ReadMilliseconds();
};

// Test hook: replaces the performance counter and its frequency (nullptr restores the platform's).
using TPerfCounterSource = void (*)(std::int64_t& count, std::int64_t& frequency);
TPerfCounterSource SetPerfCounterSource(TPerfCounterSource source);

enum TCPUInstructionSet { ciMMX, ciEMMX, ciSSE, ciSSE2, ci3DNow, ci3DNowExt };

inline constexpr DWORD CPUISChecks[6] = {0x00800000, 0x00400000, 0x02000000,
                                         0x04000000, 0x80000000, 0x40000000};

bool HasInstructionSet(TCPUInstructionSet InstructionSet);
bool HasMMX();
bool HasEMMX();
bool HasSSE();
bool HasSSE2();
bool Has3DNow();
bool Has3DNowExt();

// Test hook: a stand-in for the processor identification instruction. HasCpuId answers whether the
// identification bit of the flags register can be toggled; CpuId fills eax, ebx, ecx, edx of a leaf.
struct TCpuIdProbe {
    bool (*HasCpuId)() = nullptr;
    void (*CpuId)(DWORD leaf, DWORD regs[4]) = nullptr;
};
// nullptr restores the real instruction (or "none" off x86). Returns the previous probe.
const TCpuIdProbe* SetCpuIdProbe(const TCpuIdProbe* probe);

// Whether AVX2 may be used by the packed pixel routines (real processor only, not the probe).
bool HasAVX2();

inline constexpr UINT WM_THEMECHANGED = 0x031A;
using HTHEME = void*;

// The visual-style library does not exist on this platform: loading always fails, so themes are never
// in use and both theme handles stay none. The nexus still answers the theme-changed message.
class TThemeNexus {
public:
    TThemeNexus();
    ~TThemeNexus();
    TThemeNexus(const TThemeNexus&) = delete;
    TThemeNexus& operator=(const TThemeNexus&) = delete;

    // The utility window's message handler: a theme change closes and reopens the themes.
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam);

private:
    void OpenVisualStyles();
    void CloseVisualStyles();
};

extern bool ThemesInUse;
extern HTHEME ScrollBarTheme;
extern HTHEME GlobalsTheme;

TPerfTimer& SharedPerfTimer();
TThemeNexus& SharedThemeNexus();

} // namespace Bmp32_System
