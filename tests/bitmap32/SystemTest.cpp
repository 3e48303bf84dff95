#include "bitmap32/Bmp32_System.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace Bmp32_System;

namespace {

// A processor described by its leaves; absent leaves read as zeros.
struct FakeCpu {
    bool hasCpuId = true;
    std::map<DWORD, std::array<DWORD, 4>> leaves;
};
FakeCpu* fakeCpu = nullptr;

bool FakeHasCpuId() {
    return fakeCpu->hasCpuId;
}
void FakeCpuId(DWORD leaf, DWORD regs[4]) {
    auto it = fakeCpu->leaves.find(leaf);
    for (int i = 0; i < 4; ++i)
        regs[i] = it == fakeCpu->leaves.end() ? 0 : it->second[static_cast<std::size_t>(i)];
}
const TCpuIdProbe fakeProbe{FakeHasCpuId, FakeCpuId};

class CpuProbe {
public:
    explicit CpuProbe(FakeCpu& cpu) {
        fakeCpu = &cpu;
        previous_ = SetCpuIdProbe(&fakeProbe);
    }
    ~CpuProbe() {
        SetCpuIdProbe(previous_);
        fakeCpu = nullptr;
    }

private:
    const TCpuIdProbe* previous_;
};

constexpr DWORD kFamily6 = 0x600;
constexpr DWORD kMMX = 1u << 23, kSSE = 1u << 25, kSSE2 = 1u << 26;

struct ProbeCase {
    const char* name;
    FakeCpu cpu;
    bool mmx, emmx, sse, sse2, now3d, now3dExt;
};

TEST(System, InstructionSetsFollowTheIdentificationLeaves) {
    const ProbeCase cases[] = {
        {"no identification instruction",
         {false, {{1, {kFamily6, 0, 0, kMMX | kSSE | kSSE2}}}},
         false,
         false,
         false,
         false,
         false,
         false},
        {"family 4 reports nothing",
         {true, {{1, {0x400, 0, 0, kMMX | kSSE | kSSE2}}}},
         false,
         false,
         false,
         false,
         false,
         false},
        {"SSE without extended leaves still has EMMX",
         {true, {{1, {kFamily6, 0, 0, kMMX | kSSE}}}},
         true,
         true,
         true,
         false,
         false,
         false},
        {"EMMX from the extended leaf",
         {true,
          {{1, {kFamily6, 0, 0, kMMX}},
           {0x80000000u, {0x80000001u, 0, 0, 0}},
           {0x80000001u, {0, 0, 0, 1u << 22}}}},
         true,
         true,
         false,
         false,
         false,
         false},
        {"3DNow bits ignored without extended leaf 0x80000001",
         {true,
          {{1, {kFamily6, 0, 0, kMMX}},
           {0x80000000u, {0x80000000u, 0, 0, 0}},
           {0x80000001u, {0, 0, 0, 0xC0000000u}}}},
         true,
         false,
         false,
         false,
         false,
         false},
        {"3DNow and its extension",
         {true,
          {{1, {0x500, 0, 0, kMMX}},
           {0x80000000u, {0x80000008u, 0, 0, 0}},
           {0x80000001u, {0, 0, 0, 0xC0400000u}}}},
         true,
         true,
         false,
         false,
         true,
         true},
    };
    for (const ProbeCase& c : cases) {
        FakeCpu cpu = c.cpu;
        CpuProbe probe(cpu);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HasMMX(), c.mmx);
        EXPECT_EQ(HasEMMX(), c.emmx);
        EXPECT_EQ(HasSSE(), c.sse);
        EXPECT_EQ(HasSSE2(), c.sse2);
        EXPECT_EQ(Has3DNow(), c.now3d);
        EXPECT_EQ(Has3DNowExt(), c.now3dExt);
    }
}

TEST(System, TickIsThePlatformTickAndElapsedSurvivesTheWrap) {
    testing_support::FakeTick tick(0xFFFFFF00u);
    EXPECT_EQ(Bmp32_System::GetTickCount(), 0xFFFFFF00u);
    const DWORD start = Bmp32_System::GetTickCount();
    tick.Advance(0x200);
    const DWORD now = Bmp32_System::GetTickCount();
    EXPECT_EQ(now, 0x100u);
    EXPECT_EQ(TickElapsed(start, now), 0x200u);
}

std::int64_t fakeCount = 0;
std::int64_t fakeFrequency = 1000000000;
void FakeCounter(std::int64_t& count, std::int64_t& frequency) {
    count = fakeCount;
    frequency = fakeFrequency;
}

TEST(System, PerfTimerRoundsMicrosecondsHalfToEven) {
    TPerfCounterSource previous = SetPerfCounterSource(FakeCounter);
    struct {
        std::int64_t start, stop;
        std::int64_t micros;
        const char* text;
        const char* millis;
    } const cases[] = {
        {0, 2500, 2, "2", "0.002"}, // 2.5 us: ties go to the even count
        {0, 3500, 4, "4", "0.004"}, // 3.5 us
        {1000, 1499, 0, "0", "0"},  // 0.499 us
        {0, 1234567890, 1234568, "1234568", "1234.568"},
        {5000, 0, -5, "-5", "-0.005"}, // a counter that went back
    };
    for (const auto& c : cases) {
        TPerfTimer timer;
        fakeCount = c.start;
        timer.Start();
        fakeCount = c.stop;
        EXPECT_EQ(timer.ReadValue(), c.micros) << c.stop;
        EXPECT_EQ(timer.ReadNanoseconds(), c.text);
        EXPECT_EQ(timer.ReadMilliseconds(), c.millis);
    }
    // Without Start the count runs from 0.
    TPerfTimer fresh;
    fakeCount = 7000;
    EXPECT_EQ(fresh.ReadValue(), 7);
    SetPerfCounterSource(previous);
}

TEST(System, ThemesAreNeverInUseEvenAfterAThemeChange) {
    TThemeNexus& nexus = SharedThemeNexus();
    EXPECT_FALSE(ThemesInUse);
    EXPECT_EQ(nexus.WndProc(WM_THEMECHANGED, 0, 0), 0);
    EXPECT_FALSE(ThemesInUse);
    EXPECT_EQ(ScrollBarTheme, nullptr);
    EXPECT_EQ(GlobalsTheme, nullptr);
}

} // namespace
