// make package as the build runs it: CPack into a folder of the test's own, then what dpkg-deb reads in the
// two packages.
#include "tests/support/Display.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using testing_support::RunProgram;
using testing_support::TempDir;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string Output(const std::vector<std::string>& argv) {
    std::string out;
    const int rc = RunProgram(argv, {}, &out, std::chrono::seconds(300));
    if (rc != 0) ADD_FAILURE() << argv[0] << " " << argv[1] << " ended with " << rc << ": " << out;
    return out;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(Package, TheProgramAndItsMapWithTheirLibrariesTheProjectsVersionAndNoBuildPath) {
    TempDir dir;
    Output({HARBEK_CPACK, "--config", Env("HARBEK_BINARY") + "/CPackConfig.cmake", "-B", dir.File("out")});
    std::string arch = Output({"dpkg", "--print-architecture"});
    arch.erase(arch.find_last_not_of('\n') + 1);
    const std::string version = HARBEK_VERSION;
    struct Expected {
        std::string name;
        std::vector<std::string> depends; // each a package named in Depends
        std::vector<std::string> recommends;
        std::vector<std::string> files;  // in the package
        std::vector<std::string> others; // in the other one
    };
    const Expected packages[] = {
        {"harbek",
         {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6network6", "libqt6printsupport6",
          "libjpeg62-turbo", "libsqlite3-0", "libspandsp2", "libasound2", "libblkid1"},
         {"harbek-map", "udisks2", "xdg-utils", "fonts-ipafont-gothic", "fonts-nanum"},
         {"./usr/bin/harbek", "./usr/share/harbek/forms/main.dfm", "./usr/share/applications/harbek.desktop"},
         {"./usr/lib/harbek/harbek_webengine.so"}},
        {"harbek-map",
         {"harbek (= " + version + ")", "libjs-leaflet", "libqt6webenginewidgets6", "libqt6webenginecore6"},
         {},
         {"./usr/lib/harbek/harbek_webengine.so",
          "./usr/share/harbek/leaflet -> /usr/share/javascript/leaflet"},
         {"./usr/bin/harbek"}},
    };
    for (const Expected& p : packages) {
        SCOPED_TRACE(p.name);
        const std::string deb = dir.File("out/" + p.name + "_" + version + "_" + arch + ".deb");
        ASSERT_TRUE(fs::exists(deb)) << deb;
        EXPECT_EQ(Output({"dpkg-deb", "-f", deb, "Package"}), p.name + "\n");
        EXPECT_EQ(Output({"dpkg-deb", "-f", deb, "Version"}), version + "\n");
        const std::string depends = ", " + Output({"dpkg-deb", "-f", deb, "Depends"});
        for (const std::string& d : p.depends)
            EXPECT_TRUE(Contains(depends, ", " + d)) << d << " not in " << depends;
        // The browser engine's libraries come with the map alone.
        if (p.name == "harbek") {
            EXPECT_FALSE(Contains(depends, "webengine")) << depends;
        }
        const std::string recommends = Output({"dpkg-deb", "-f", deb, "Recommends"});
        for (const std::string& r : p.recommends)
            EXPECT_TRUE(Contains(recommends, r)) << r << " not in " << recommends;
        const std::string files = Output({"dpkg-deb", "-c", deb});
        for (const std::string& f : p.files)
            EXPECT_TRUE(Contains(files, " " + f + "\n")) << f;
        for (const std::string& f : p.others)
            EXPECT_FALSE(Contains(files, " " + f + "\n")) << f;
        const std::string unpacked = dir.File("x-" + p.name);
        Output({"dpkg-deb", "-x", deb, unpacked});
        std::string found;
        EXPECT_EQ(RunProgram({"grep", "-r", "-l", "-a", "-F", "-e", Env("HARBEK_SOURCE"), "-e",
                              Env("HARBEK_BINARY"), unpacked},
                             {}, &found),
                  1)
            << found;
    }
}

} // namespace
