// The skingen program as the build runs it: its files, its refusals and its exit status.
#include "tests/support/TestSupport.h"

#include "platform/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

struct Outcome {
    int status = -1;
    std::string err;
};

Outcome Skingen(const std::vector<std::string>& args) {
    TempDir dir;
    const std::string err = dir.File("err");
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int o = ::open("/dev/null", O_WRONLY);
        ::dup2(o, 1);
        ::dup2(e, 2);
        std::vector<char*> argv{const_cast<char*>(SKINGEN_PROGRAM)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(SKINGEN_PROGRAM, argv.data());
        ::_exit(127);
    }
    Outcome r;
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = ReadFileBytes(err);
    return r;
}

const char* const kTwo = "bitmap btn_a\n size 20 10\n frames 4\n style button\n icon play\nend\n"
                         "bitmap gauge_a\n size 50 8\n frames 2 vertical\n style gauge\nend\n";

TEST(SkingenProgram, WritesOneBitmapPerDescriptionAndTheStamp) {
    TempDir dir;
    WriteFileBytes(dir.File("a.skin"), kTwo);
    const std::string out = dir.File("out/skins");
    const Outcome r = Skingen({"-o", out, "--stamp", dir.File("out/stamp"), dir.File("a.skin")});
    ASSERT_EQ(r.status, 0) << r.err;
    TBitmap button, gauge;
    button.LoadFromFile(out + "/btn_a.bmp");
    gauge.LoadFromFile(out + "/gauge_a.bmp");
    EXPECT_EQ(button.Width(), 80);
    EXPECT_EQ(button.Height(), 10);
    EXPECT_EQ(gauge.Width(), 50);
    EXPECT_EQ(gauge.Height(), 16);
    EXPECT_EQ(ReadFileBytes(dir.File("out/stamp")), "2 bitmaps\n");
}

TEST(SkingenProgram, AWrongDescriptionWritesNothingAndSaysWhere) {
    TempDir dir;
    WriteFileBytes(dir.File("a.skin"), kTwo);
    WriteFileBytes(dir.File("b.skin"), "bitmap c\n size 10 10\n style button\n icon rocket\nend\n");
    const std::string out = dir.File("out");
    const Outcome r =
        Skingen({"-o", out, "--stamp", dir.File("stamp"), dir.File("a.skin"), dir.File("b.skin")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(dir.File("b.skin") + ":4: unknown icon 'rocket'"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out + "/btn_a.bmp"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("stamp")));
}

TEST(SkingenProgram, ANameInTwoFilesIsRefused) {
    TempDir dir;
    WriteFileBytes(dir.File("a.skin"), kTwo);
    WriteFileBytes(dir.File("b.skin"), kTwo);
    const Outcome r = Skingen({"-o", dir.File("out"), dir.File("a.skin"), dir.File("b.skin")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("bitmap 'btn_a' is already defined at " + dir.File("a.skin") + ":1"),
              std::string::npos)
        << r.err;
}

TEST(SkingenProgram, UsageMistakesAndMissingFiles) {
    TempDir dir;
    EXPECT_EQ(Skingen({}).status, 2);
    EXPECT_EQ(Skingen({dir.File("a.skin")}).status, 2);
    EXPECT_EQ(Skingen({"--bogus", "-o", dir.Str()}).status, 2);
    const Outcome missing = Skingen({"-o", dir.File("out"), dir.File("none.skin")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.skin: cannot be read"), std::string::npos) << missing.err;
}

TEST(SkingenProgram, ThePreviewIsAPngPicture) {
    TempDir dir;
    WriteFileBytes(dir.File("a.skin"), kTwo);
    const Outcome r = Skingen({"--preview", dir.File("sheet.png"), dir.File("a.skin")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string png = ReadFileBytes(dir.File("sheet.png"));
    ASSERT_GT(png.size(), 40u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
}

} // namespace
