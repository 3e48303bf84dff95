#include "platform/core/FileUtils.h"
#include "platform/core/SysError.h"
#include "platform/core/Threads.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

TEST(FilePaths, SplittingAndExtensions) {
    struct Case {
        const char* path;
        const char* filePath;
        const char* fileDir;
        const char* fileName;
        const char* ext;
    };
    const Case cases[] = {
        {"/home/u/video.fdx", "/home/u/", "/home/u", "video.fdx", ".fdx"},
        {"name", "", "", "name", ""},
        {"/name.tar.gz", "/", "/", "name.tar.gz", ".gz"},
        {"dir.d/file", "dir.d/", "dir.d", "file", ""},
        {"Temporary\\20080101.fdx", "Temporary\\", "Temporary", "20080101.fdx", ".fdx"},
        {"folder/", "folder/", "folder", "", ""},
        {".hidden", "", "", ".hidden", ".hidden"},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExtractFilePath(c.path), c.filePath);
        EXPECT_EQ(ExtractFileDir(c.path), c.fileDir);
        EXPECT_EQ(ExtractFileName(c.path), c.fileName);
        EXPECT_EQ(ExtractFileExt(c.path), c.ext);
    }
    EXPECT_EQ(ChangeFileExt("a/b.fdx", ".tdx"), "a/b.tdx");
    EXPECT_EQ(ChangeFileExt("a.d/b", ".mdx"), "a.d/b.mdx");
    EXPECT_EQ(ChangeFileExt("b.fdx", ""), "b");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/x"), "/x/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/x/"), "/x/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/x/"), "/x");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
    EXPECT_EQ(WinPathToNative("Temporary\\"), "Temporary/");
    EXPECT_EQ(WinPathToNative("LANGUAGE\\dll%s.dll"), "LANGUAGE/dll%s.dll");
    EXPECT_EQ(WinPathToNative("/already/native"), "/already/native");
}

TEST(MatchesMask, WindowsMasks) {
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    };
    const Case cases[] = {
        {"anything", "*.*", true},
        {"20080101120000", "*.*", true},
        {"a.b.c", "*.*", true},
        {"x", "*", true},
        {"", "*", true},
        {"CLIP.FDX", "*.fdx", true},
        {"clip.fdx", "*.FDX", true},
        {"clip.fdxx", "*.fdx", false},
        {"clip.fdx.bak", "*.fdx", false},
        {"a1.txt", "a?.txt", true},
        {"a.txt", "a?.txt", false},
        {"a12.txt", "a?.txt", false},
        {"readme", "readme.*", true},
        {"readme.md", "readme.*", true},
        {"readme2", "readme.*", false},
        {"abc", "a*c", true},
        {"abcbc", "a*bc", true},
        {"ab", "a*bc", false},
        {"x.y", "x.y", true},
        {"X.Y", "x.y", true},
        {"x.y", "x.z", false},
        {"aaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*b", true},
        {"aaaaaaaaaaaaaaaa", "*a*a*a*b", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.mask);
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches);
    }
}

// A folder with a known mix of entries.
class FindTest : public testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(dir_.File("20080101110000"), "recording");
        WriteFileBytes(dir_.File("20080101110000.fdx"), "1234");
        WriteFileBytes(dir_.File("B.FDX"), "");
        WriteFileBytes(dir_.File("readonly.txt"), "r");
        ::chmod(dir_.File("readonly.txt").c_str(), 0444);
        WriteFileBytes(dir_.File(".hidden"), "h");
        fs::create_directory(dir_.Path() / "sub");
        fs::create_symlink(dir_.Path() / "sub", dir_.Path() / "link");
    }

    // Names FindFirst/FindNext list for a mask and attributes.
    std::set<std::string> List(const std::string& mask, int attributes) {
        std::set<std::string> names;
        TSearchRec rec;
        for (int r = FindFirst(dir_.Str() + mask, attributes, rec); r == 0; r = FindNext(rec))
            names.insert(rec.Name);
        FindClose(rec);
        return names;
    }

    TempDir dir_;
};

TEST_F(FindTest, MasksAndAttributeFilters) {
    using Names = std::set<std::string>;
    const Names files = {"20080101110000", "20080101110000.fdx", "B.FDX", "readonly.txt"};
    struct Case {
        const char* mask;
        int attributes;
        Names expected;
    };
    const Case cases[] = {
        {"*.*", faArchive, files},
        {"*", faReadOnly, files}, // read-only never narrows, it only fails to widen
        {"*.fdx", faArchive, {"20080101110000.fdx", "B.FDX"}},
        {"*.*",
         faArchive | faHidden,
         {"20080101110000", "20080101110000.fdx", "B.FDX", "readonly.txt", ".hidden"}},
        {"*.*",
         faDirectory,
         {"20080101110000", "20080101110000.fdx", "B.FDX", "readonly.txt", ".", "..", "sub", "link"}},
        {"*.*",
         faAnyFile,
         {"20080101110000", "20080101110000.fdx", "B.FDX", "readonly.txt", ".hidden", ".", "..", "sub",
          "link"}},
        {"2008??????????", faArchive, {"20080101110000"}},
        {"b.fdx", faArchive, {"B.FDX"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mask << " attr " << c.attributes);
        EXPECT_EQ(List(c.mask, c.attributes), c.expected);
    }
}

TEST_F(FindTest, RecordsDescribeTheEntries) {
    TSearchRec rec;
    std::map<std::string, TSearchRec> seen;
    for (int r = FindFirst(dir_.Str() + "*", faAnyFile, rec); r == 0; r = FindNext(rec))
        seen[rec.Name] = rec;
    FindClose(rec);
    EXPECT_EQ(seen["20080101110000"].Size, 9);
    EXPECT_EQ(seen["20080101110000"].Attr, faArchive);
    EXPECT_EQ(seen["readonly.txt"].Attr, faArchive | faReadOnly);
    EXPECT_EQ(seen[".hidden"].Attr, faArchive | faHidden);
    EXPECT_EQ(seen["sub"].Attr, faDirectory);
    EXPECT_EQ(seen["link"].Attr, faDirectory | faSymLink);
    EXPECT_EQ(seen["."].Attr, faDirectory);
    EXPECT_GT(seen["B.FDX"].Time, 1000000000);
    EXPECT_EQ(FileGetAttr(dir_.File("readonly.txt")), faArchive | faReadOnly);
    EXPECT_EQ(FileGetAttr(dir_.File("missing")), -1);
}

TEST_F(FindTest, ResultCodes) {
    TSearchRec rec;
    EXPECT_EQ(FindFirst(dir_.Str() + "*.none", faAnyFile, rec), static_cast<int>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FindFirst(dir_.Str() + "missing/*.*", faAnyFile, rec), static_cast<int>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    ASSERT_EQ(FindFirst(dir_.Str() + "B.*", faArchive, rec), 0);
    EXPECT_EQ(FindNext(rec), static_cast<int>(ERROR_NO_MORE_FILES));
    EXPECT_EQ(FindNext(rec), static_cast<int>(ERROR_NO_MORE_FILES));
    FindClose(rec);
    EXPECT_NE(FindNext(rec), 0);
}

TEST(FileUtils, SingleEntryOperations) {
    TempDir dir;
    const std::string a = dir.File("a.txt");
    const std::string b = dir.File("b.txt");
    WriteFileBytes(a, "alpha");
    WriteFileBytes(b, "beta");
    EXPECT_TRUE(FileExists(a));
    EXPECT_FALSE(FileExists(dir.Str()));
    EXPECT_TRUE(DirectoryExists(dir.Str()));
    EXPECT_FALSE(DirectoryExists(a));
    EXPECT_EQ(FileSize(a), 5);
    EXPECT_EQ(FileSize(dir.File("none")), -1);

    EXPECT_FALSE(RenameFile(a, b)) << "rename must never replace";
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(ReadFileBytes(b), "beta");
    EXPECT_TRUE(RenameFile(a, dir.File("c.txt")));
    EXPECT_FALSE(FileExists(a));

    EXPECT_FALSE(DeleteFile(dir.File("none")));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(DeleteFile(dir.Str())) << "folders are not files";
    EXPECT_TRUE(DeleteFile(b));

    EXPECT_TRUE(CreateDir(dir.File("d")));
    EXPECT_FALSE(CreateDir(dir.File("d")));
    EXPECT_FALSE(CreateDir(dir.File("x/y")));
    EXPECT_TRUE(ForceDirectories(dir.File("x/y/z/")));
    EXPECT_TRUE(ForceDirectories(dir.File("x/y/z")));
    EXPECT_TRUE(DirectoryExists(dir.File("x/y/z")));
    EXPECT_FALSE(ForceDirectories(dir.File("c.txt/sub"))) << "a file in the way";
    EXPECT_FALSE(ForceDirectories(""));
    EXPECT_FALSE(RemoveDir(dir.File("x")));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    EXPECT_TRUE(RemoveDir(dir.File("x/y/z")));

    EXPECT_EQ(FileSetAttr(dir.File("c.txt"), faReadOnly), 0);
    EXPECT_EQ(FileGetAttr(dir.File("c.txt")) & faReadOnly, faReadOnly);
    EXPECT_EQ(FileSetAttr(dir.File("c.txt"), 0), 0);
    EXPECT_EQ(FileGetAttr(dir.File("c.txt")) & faReadOnly, 0);
}

TEST(FileUtils, BoundedReadTakesWholeFilesUpToTheLimitOnly) {
    TempDir dir;
    WriteFileBytes(dir.File("five"), "12345");
    WriteFileBytes(dir.File("empty"), "");
    struct Case {
        std::string path;
        std::size_t limit;
        bool read;
        std::string bytes;
    } const cases[] = {
        {dir.File("five"), 5, true, "12345"}, {dir.File("five"), 4, false, ""},
        {dir.File("empty"), 0, true, ""},     {dir.File("none"), 100, false, ""},
        {dir.Str(), 100, false, ""},
    };
    for (const Case& c : cases) {
        std::string bytes = "left over";
        EXPECT_EQ(::ReadFileBytes(c.path, c.limit, bytes), c.read) << c.path << " limit " << c.limit;
        EXPECT_EQ(bytes, c.bytes) << c.path << " limit " << c.limit;
    }
}

TEST(FileUtils, CopyFileReplacesWholeAndNeverEatsItsSource) {
    TempDir dir;
    const std::string src = dir.File("src.bin");
    const std::string dst = dir.File("dst.bin");
    WriteFileBytes(src, "new contents");
    ::chmod(src.c_str(), 0640);
    WriteFileBytes(dst, "old");
    EXPECT_EQ(CopyFile(src, dst, TRUE), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(ReadFileBytes(dst), "old");
    EXPECT_EQ(CopyFile(src, dst, FALSE), TRUE);
    EXPECT_EQ(ReadFileBytes(dst), "new contents");
    struct stat st {};
    ASSERT_EQ(::stat(dst.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    struct stat srcSt {};
    ASSERT_EQ(::stat(src.c_str(), &srcSt), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, srcSt.st_mtim.tv_sec);

    EXPECT_EQ(CopyFile(src, src, FALSE), FALSE) << "a copy onto itself would truncate the source";
    EXPECT_EQ(ReadFileBytes(src), "new contents");
    const std::string link = dir.File("alias.bin");
    ASSERT_EQ(::symlink(src.c_str(), link.c_str()), 0);
    EXPECT_EQ(CopyFile(src, link, FALSE), FALSE);
    EXPECT_EQ(ReadFileBytes(src), "new contents");

    EXPECT_EQ(CopyFile(dir.File("none"), dst, FALSE), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(CopyFile(src, dir.Str(), FALSE), FALSE);
    EXPECT_EQ(CopyFile(dir.Str(), dst, FALSE), FALSE);
    size_t entries = 0;
    for (const auto& e : fs::directory_iterator(dir.Path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 3u) << "a temporary copy was left behind";
}

TEST(DeleteTree, RemovesEverythingButNeverFollowsLinks) {
    TempDir outside;
    WriteFileBytes(outside.File("precious.txt"), "keep");
    fs::create_directory(outside.Path() / "inner");
    WriteFileBytes(outside.File("inner/also.txt"), "keep too");

    TempDir dir;
    const fs::path tree = dir.Path() / "Temporary";
    fs::create_directories(tree / "a" / "b");
    WriteFileBytes((tree / "a" / "b" / "deep.fdx").string(), "x");
    WriteFileBytes((tree / "readonly.fdx").string(), "r");
    ::chmod((tree / "readonly.fdx").c_str(), 0444);
    ::chmod((tree / "a" / "b").c_str(), 0555); // a read-only folder
    fs::create_directory_symlink(outside.Path(), tree / "link-to-outside");
    fs::create_directory_symlink(outside.Path() / "inner", tree / "a" / "inner-link");
    fs::create_symlink(outside.File("precious.txt"), tree / "file-link");
    fs::create_symlink(tree / "nowhere", tree / "dangling");

    EXPECT_TRUE(DeleteTree(tree.string() + "/"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(tree)));
    EXPECT_EQ(ReadFileBytes(outside.File("precious.txt")), "keep");
    EXPECT_EQ(ReadFileBytes(outside.File("inner/also.txt")), "keep too");

    EXPECT_TRUE(DeleteTree(tree.string())) << "nothing there: nothing to do";
    EXPECT_FALSE(DeleteTree("/"));
    EXPECT_FALSE(DeleteTree(""));
}

TEST(DeleteTree, ALinkGivenAsTheTreeIsRemovedAsALink) {
    TempDir outside;
    WriteFileBytes(outside.File("precious.txt"), "keep");
    TempDir dir;
    const fs::path link = dir.Path() / "Temporary";
    fs::create_directory_symlink(outside.Path(), link);
    EXPECT_TRUE(DeleteTree(link.string() + "/"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_EQ(ReadFileBytes(outside.File("precious.txt")), "keep");
}

TEST(MoveTree, MergesIntoAnExistingDestination) {
    TempDir dir;
    const fs::path src = dir.Path() / "Backup";
    const fs::path dst = dir.Path() / "Chosen";
    fs::create_directories(src / "2008010111");
    fs::create_directories(src / "2008010112");
    WriteFileBytes((src / "2008010111" / "20080101110000").string(), "new-11");
    WriteFileBytes((src / "2008010112" / "20080101120000").string(), "new-12");
    fs::create_symlink("20080101120000", src / "2008010112" / "alias");
    fs::create_directories(dst / "2008010111");
    WriteFileBytes((dst / "2008010111" / "20080101110000").string(), "old-11");
    WriteFileBytes((dst / "2008010111" / "20080101113000").string(), "untouched");

    EXPECT_TRUE(MoveTree(src.string() + "/*.*", dst.string()));
    EXPECT_EQ(ReadFileBytes((dst / "2008010111" / "20080101110000").string()), "new-11");
    EXPECT_EQ(ReadFileBytes((dst / "2008010111" / "20080101113000").string()), "untouched");
    EXPECT_EQ(ReadFileBytes((dst / "2008010112" / "20080101120000").string()), "new-12");
    EXPECT_TRUE(fs::is_symlink(dst / "2008010112" / "alias"));
    EXPECT_TRUE(fs::is_empty(src)) << "the mask moves the contents, the folder stays";

    // Without a mask the folder itself moves, and an existing one takes in its contents.
    fs::create_directories(src / "2008010113");
    WriteFileBytes((src / "2008010113" / "20080101130000").string(), "new-13");
    EXPECT_TRUE(MoveTree(src.string(), dst.string()));
    EXPECT_FALSE(fs::exists(src));
    EXPECT_EQ(ReadFileBytes((dst / "2008010113" / "20080101130000").string()), "new-13");

    EXPECT_TRUE(MoveTree(dst.string(), (dir.Path() / "new" / "parents" / "Chosen").string()));
    EXPECT_TRUE(fs::exists(dir.Path() / "new" / "parents" / "Chosen" / "2008010111" / "20080101113000"));
}

TEST(MoveTree, RefusesWhatWouldLoseData) {
    TempDir dir;
    const fs::path a = dir.Path() / "a";
    fs::create_directories(a / "inner");
    WriteFileBytes((a / "inner" / "f").string(), "data");
    WriteFileBytes(dir.File("file"), "plain");
    struct Case {
        const char* what;
        std::string source;
        std::string destination;
    };
    const Case cases[] = {
        {"into itself", a.string(), (a / "inner" / "deeper").string()},
        {"onto itself", a.string(), a.string() + "/"},
        {"a folder onto a file", a.string(), dir.File("file")},
        {"a file onto a folder", dir.File("file"), a.string()},
        {"a missing source", dir.File("none"), dir.File("elsewhere")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(MoveTree(c.source, c.destination));
        EXPECT_EQ(ReadFileBytes((a / "inner" / "f").string()), "data");
        EXPECT_EQ(ReadFileBytes(dir.File("file")), "plain");
    }
    EXPECT_FALSE(fs::exists(dir.Path() / "elsewhere"));
}

// Another file system for the copy path: the shared-memory folder when it is one.
std::string OtherFileSystemFolder(const std::string& near) {
    struct stat a {};
    struct stat b {};
    if (::stat(near.c_str(), &a) != 0 || ::stat("/dev/shm", &b) != 0 || a.st_dev == b.st_dev ||
        ::access("/dev/shm", W_OK) != 0)
        return std::string();
    return "/dev/shm";
}

TEST(MoveTree, AcrossFileSystemsCopiesThenRemoves) {
    TempDir dir;
    const std::string other = OtherFileSystemFolder(dir.Str());
    if (other.empty()) GTEST_SKIP() << "no second writable file system here";
    const fs::path target = fs::path(other) / ("harbek-move-" + std::to_string(::getpid()));
    fs::remove_all(target);
    fs::create_directories(dir.Path() / "src" / "sub");
    WriteFileBytes((dir.Path() / "src" / "sub" / "f.bin").string(), std::string(300000, 'v'));
    fs::create_symlink("sub/f.bin", dir.Path() / "src" / "link");
    fs::create_directories(target / "sub");
    WriteFileBytes((target / "sub" / "kept.bin").string(), "kept");

    EXPECT_TRUE(MoveTree((dir.Path() / "src").string(), target.string()));
    EXPECT_FALSE(fs::exists(dir.Path() / "src"));
    EXPECT_EQ(ReadFileBytes((target / "sub" / "f.bin").string()), std::string(300000, 'v'));
    EXPECT_EQ(ReadFileBytes((target / "sub" / "kept.bin").string()), "kept");
    EXPECT_EQ(fs::read_symlink(target / "link"), "sub/f.bin");

    WriteFileBytes(dir.File("single.bin"), "one");
    EXPECT_TRUE(MoveTree(dir.File("single.bin"), (target / "single.bin").string()));
    EXPECT_FALSE(fs::exists(dir.File("single.bin")));
    EXPECT_EQ(ReadFileBytes((target / "single.bin").string()), "one");
    fs::remove_all(target);
}

TEST(DiskFree, ReportsSixtyFourBitSizes) {
    TempDir dir;
    const std::int64_t free = DiskFree(dir.Str());
    const std::int64_t size = DiskSize(dir.Str());
    EXPECT_GE(free, 0);
    EXPECT_GE(size, free);
    EXPECT_EQ(DiskFree(dir.File("missing/folder")), -1);
}

} // namespace
