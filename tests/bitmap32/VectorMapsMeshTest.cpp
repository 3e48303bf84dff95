#include "bitmap32/Bmp32_VectorMaps.h"

#include "platform/core/Streams.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

namespace {

std::string LE32(std::uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[i] = static_cast<char>(v >> (8 * i));
    return s;
}

std::string Float(float f) {
    std::uint32_t u;
    std::memcpy(&u, &f, 4);
    return LE32(u);
}

std::string Header(std::int32_t w, std::int32_t h, const char* id = "yfqLhseM") {
    return LE32(0x02000000) + std::string(id, 8) + LE32(2) + LE32(static_cast<std::uint32_t>(w)) +
           LE32(static_cast<std::uint32_t>(h));
}

std::string Message(const std::function<void()>& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.Message;
    }
    return "no error";
}

TEST(VectorMapMesh, SavedFileHasTheDocumentedLayout) {
    TempDir dir;
    TVectorMap map;
    map.SetSize(2, 1);
    map.SetFloatVector(0, 0, TFloatPoint{1.5f, -2.0f});
    map.SetFloatVector(1, 0, TFloatPoint{0.25f, 100.0f});
    map.SaveToFile(dir.File("a.msh"));
    const std::string expected =
        Header(2, 1) + Float(1.5f) + Float(-2.0f) + Float(0.25f) + Float(100.0f) + std::string(8, '\0');
    EXPECT_EQ(ReadFileBytes(dir.File("a.msh")), expected);
    EXPECT_EQ(expected.substr(0, 4), std::string("\0\0\0\2", 4));
}

TEST(VectorMapMesh, RoundTripsThroughAFile) {
    TempDir dir;
    for (auto [w, h] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{7, 5}, std::pair{0, 3}}) {
        TVectorMap map;
        map.SetSize(w, h);
        for (int i = 0; i < w * h; ++i)
            map.Vectors()[i] = TFixedPoint{i * 0x1234 - 0x8000, -i * 0x10000};
        const std::string file = dir.File("m.msh");
        map.SaveToFile(file);
        EXPECT_EQ(ReadFileBytes(file).size(), 24u + 8u * w * h + 8u);
        TVectorMap back;
        back.SetSize(3, 3);
        back.LoadFromFile(file);
        EXPECT_EQ(back.Width(), w);
        EXPECT_EQ(back.Height(), h);
        for (int i = 0; i < w * h; ++i)
            ASSERT_EQ(back.Vectors()[i], map.Vectors()[i]) << i;
    }
}

TEST(VectorMapMesh, SavingLeavesTheMapUnrounded) {
    // 1000 + 1/65536 does not fit a float's 24 bits: the saved file rounds it, the map must not.
    TVectorMap map;
    map.SetSize(1, 1);
    const TFixedPoint v{1000 * 0x10000 + 1, -(3000 * 0x10000 + 3)};
    map.SetFixedVector(0, 0, v);
    TStringStream out;
    map.SaveToStream(&out);
    EXPECT_EQ(map.FixedVector(0, 0), v);
    TStringStream in(out.DataString());
    TVectorMap back;
    back.LoadFromStream(&in);
    EXPECT_NE(back.FixedVector(0, 0), v);
    EXPECT_NEAR(back.FixedVector(0, 0).X, v.X, 64);
}

TEST(VectorMapMesh, IdentifierIgnoresCaseAndOtherHeaderFields) {
    std::string file = Header(1, 1, "YFQlHSEm") + Float(2.0f) + Float(-0.5f);
    file.replace(0, 4, "XXXX");  // offset 0 is not looked at
    file.replace(12, 4, "9999"); // nor the version; the trailing zeros may be missing
    TStringStream in(file);
    TVectorMap map;
    map.LoadFromStream(&in);
    EXPECT_EQ(map.FixedVector(0, 0), (TFixedPoint{0x20000, -0x8000}));
}

TEST(VectorMapMesh, HostileFloatsSaturate) {
    const float inf = std::numeric_limits<float>::infinity();
    TStringStream in(Header(3, 1) + Float(inf) + Float(-inf) +
                     Float(std::numeric_limits<float>::quiet_NaN()) + Float(1e30f) + Float(-1e-30f) +
                     Float(32767.0f));
    TVectorMap map;
    map.LoadFromStream(&in);
    EXPECT_EQ(map.FixedVector(0, 0),
              (TFixedPoint{std::numeric_limits<TFixed>::max(), std::numeric_limits<TFixed>::min()}));
    EXPECT_EQ(map.FixedVector(1, 0), (TFixedPoint{0, std::numeric_limits<TFixed>::max()}));
    EXPECT_EQ(map.FixedVector(2, 0), (TFixedPoint{0, 32767 * 0x10000}));
}

TEST(VectorMapMesh, BadFilesRaiseAndLeaveTheMapAsItWas) {
    const std::string good = Header(2, 2) + std::string(32, '\x01');
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"empty", "", "File is not in the .msh mesh format"},
        {"short header", good.substr(0, 23), "File is not in the .msh mesh format"},
        {"other identifier", Header(2, 2, "yfqLhseN") + std::string(32, '\0'),
         "File is not in the .msh mesh format"},
        {"one byte short", good.substr(0, good.size() - 1), "Mesh file is shorter than its vectors"},
        {"header only", Header(2, 2), "Mesh file is shorter than its vectors"},
        {"huge size", Header(0x7FFFFFFF, 0x7FFFFFFF) + std::string(64, '\0'),
         "Mesh file is shorter than its vectors"},
        {"wrapping size", Header(0x10000, 0x10000) + std::string(8, '\0'),
         "Mesh file is shorter than its vectors"},
        {"negative width", Header(-1, 2) + std::string(64, '\0'), "Mesh file has a negative size"},
        {"negative height", Header(2, -5) + std::string(64, '\0'), "Mesh file has a negative size"},
    };
    for (const Case& c : cases) {
        TVectorMap map;
        map.SetSize(1, 2);
        map.SetFixedVector(0, 1, TFixedPoint{5, 6});
        TStringStream in(c.bytes);
        EXPECT_EQ(Message([&] { map.LoadFromStream(&in); }), c.message) << c.name;
        EXPECT_EQ(map.Width(), 1) << c.name;
        EXPECT_EQ(map.Height(), 2) << c.name;
        EXPECT_EQ(map.FixedVector(0, 1), (TFixedPoint{5, 6})) << c.name;
    }
}

TEST(VectorMapMesh, MissingAndUnwritableFiles) {
    TempDir dir;
    TVectorMap map;
    EXPECT_EQ(Message([&] { map.LoadFromFile(dir.File("none.msh")); }), "File not found!");
    WriteFileBytes(dir.File("bad.msh"), "not a mesh at all, but long enough");
    EXPECT_EQ(Message([&] { map.LoadFromFile(dir.File("bad.msh")); }), "File is not in the .msh mesh format");
    EXPECT_THROW(map.SaveToFile(dir.File("no/such/folder/x.msh")), EFCreateError);
}

} // namespace
