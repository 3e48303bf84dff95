// The recorded-file reader as start-up and shut-down use it: its registry tuning, its rings and the
// calls that stop and close it.
#include "playback/Qelvidfile.h"

#include "tests/support/TestSupport.h"

#include "platform/core/Registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

using testing_support::ScopedEnv;
using testing_support::TempDir;

// A registry of its own for each test, written through the class library's registry object.
class ReaderTuning : public ::testing::Test {
protected:
    void SetUp() override {
        registry_ = std::make_unique<ScopedEnv>("HARBEK_REGISTRY", dir_.File("registry.ini").c_str());
    }
    void Write(const std::function<void(TRegistry&)>& write) {
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(registry.OpenKey(kReaderRegistryKey, true));
        write(registry);
        registry.CloseKey();
    }

    TempDir dir_;
    std::unique_ptr<ScopedEnv> registry_;
};

TEST_F(ReaderTuning, WithoutAKeyTheDefaultsApply) {
    CQelVideoFile reader;
    EXPECT_EQ(reader.GetFramesPerRound(), 15);
    EXPECT_EQ(reader.GetRingCapacity(), 60);
    EXPECT_EQ(reader.GetFileBufSize(), 0x80000);
    EXPECT_EQ(reader.GetRepeat(), 0);
    EXPECT_EQ(reader.VideoRing().size(), 60u);
    EXPECT_EQ(reader.AudioRing().size(), 60u);
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_FALSE(reader.IsReaderRunning());
}

TEST_F(ReaderTuning, ValuesReadOneByOne) {
    struct Case {
        const char* what;
        std::function<void(TRegistry&)> write;
        int framesPerRound;
        int fileBufSize;
        int repeat;
    };
    const Case cases[] = {
        {"READ_SEC alone", [](TRegistry& r) { r.WriteInteger("READ_SEC", 2); }, 30, 0x80000, 0},
        {"all four",
         [](TRegistry& r) {
             r.WriteInteger("1SEC", 30);
             r.WriteInteger("READ_SEC", 2);
             r.WriteInteger("FILEBUFSIZE", 4096);
             r.WriteInteger("REPEAT", 1);
         },
         60, 4096, 1},
        {"a text where a number belongs keeps the default, the rest still reads",
         [](TRegistry& r) {
             r.WriteString("1SEC", "fast");
             r.WriteInteger("REPEAT", 1);
         },
         15, 0x80000, 1},
        {"zero frames would leave the rings without a slot", [](TRegistry& r) { r.WriteInteger("1SEC", 0); },
         15, 0x80000, 0},
        {"negative counts", [](TRegistry& r) { r.WriteInteger("READ_SEC", -3); }, 15, 0x80000, 0},
        {"rings larger than any reader needs",
         [](TRegistry& r) {
             r.WriteInteger("1SEC", 1000);
             r.WriteInteger("READ_SEC", 1000);
         },
         1000, 0x80000, 0},
        {"a buffer of nothing", [](TRegistry& r) { r.WriteInteger("FILEBUFSIZE", 0); }, 15, 0x80000, 0},
        {"a buffer of gigabytes", [](TRegistry& r) { r.WriteInteger("FILEBUFSIZE", 0x7FFFFFFF); }, 15,
         0x80000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            TRegistry registry;
            registry.SetRootKey(HKEY_LOCAL_MACHINE);
            registry.DeleteKey(kReaderRegistryKey);
        }
        Write(c.write);
        CQelVideoFile reader;
        EXPECT_EQ(reader.GetFramesPerRound(), c.framesPerRound);
        EXPECT_EQ(reader.GetRingCapacity(), 4 * c.framesPerRound);
        EXPECT_EQ(reader.VideoRing().size(), static_cast<std::size_t>(4 * c.framesPerRound));
        EXPECT_EQ(reader.GetFileBufSize(), c.fileBufSize);
        EXPECT_EQ(reader.GetRepeat(), c.repeat);
    }
}

TEST_F(ReaderTuning, AKeyOfAnotherRootIsNotTheReaders) {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(registry.OpenKey(kReaderRegistryKey, true));
    registry.WriteInteger("READ_SEC", 4);
    registry.CloseKey();
    CQelVideoFile reader;
    EXPECT_EQ(reader.GetFramesPerRound(), 15);
}

TEST(ReaderRings, StopReaderEmptiesBothRingsAndCloseForgetsTheFile) {
    TempDir dir;
    ScopedEnv registry("HARBEK_REGISTRY", dir.File("registry.ini").c_str());
    CQelVideoFile reader;
    for (auto* ring : {&reader.VideoRing(), &reader.AudioRing()}) {
        for (int i = 0; i < 3; ++i) {
            (*ring)[static_cast<std::size_t>(i)].payload1 = std::make_unique<BYTE[]>(64);
            (*ring)[static_cast<std::size_t>(i)].payload2 = std::make_unique<BYTE[]>(32);
        }
    }
    reader.VideoHead().writeIndex = 3;
    reader.VideoHead().count = 3;
    reader.AudioHead().readIndex = 1;
    reader.AudioHead().writeIndex = 3;
    reader.AudioHead().count = 2;
    EXPECT_FALSE(reader.IsRingHalfFull(reader.VideoHead()));
    reader.VideoHead().count = 30;
    EXPECT_TRUE(reader.IsRingHalfFull(reader.VideoHead()));
    reader.VideoHead().count = 3;

    reader.StopReader();
    for (auto* ring : {&reader.VideoRing(), &reader.AudioRing()})
        for (const QelFrameRecord& record : *ring) {
            EXPECT_EQ(record.payload1, nullptr);
            EXPECT_EQ(record.payload2, nullptr);
        }
    for (QelRingHead* head : {&reader.VideoHead(), &reader.AudioHead()}) {
        EXPECT_EQ(head->writeIndex, 0);
        EXPECT_EQ(head->readIndex, 0);
        EXPECT_EQ(head->count.load(), 0);
    }
    EXPECT_FALSE(reader.IsReaderRunning());
    // Stopping a stopped reader and closing without a file are harmless.
    reader.StopReader();
    EXPECT_EQ(reader.Close(), 0);
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(reader.GetIndexCount(), 0);
}

} // namespace
