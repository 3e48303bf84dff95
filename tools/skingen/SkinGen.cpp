#include "tools/skingen/SkinGen.h"

#include "tools/skingen/SkinPainter.h"
#include "tools/skingen/SkinParser.h"
#include "tools/skingen/SkinPreview.h"

#include <filesystem>
#include <fstream>

namespace {

std::vector<SkinBitmap> ReadAll(const std::vector<std::string>& descriptions) {
    std::vector<SkinBitmap> all;
    for (const std::string& file : descriptions) {
        std::vector<SkinBitmap> some = ParseSkinFile(file);
        all.insert(all.end(), some.begin(), some.end());
    }
    CheckUniqueNames(all);
    return all;
}

} // namespace

void PreviewSkins(const std::vector<std::string>& descriptions, const std::string& pngFile) {
    WritePreviewSheet(ReadAll(descriptions), pngFile);
}

int GenerateSkins(const std::vector<std::string>& descriptions, const std::string& outDir) {
    const std::vector<SkinBitmap> all = ReadAll(descriptions);
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) throw ESkinError(outDir + ": cannot create the folder (" + ec.message() + ")");
    for (const SkinBitmap& b : all) {
        TBitmap bitmap;
        PaintSkin(b, bitmap);
        const std::string target = (std::filesystem::path(outDir) / (b.name + ".bmp")).string();
        try {
            bitmap.SaveToFile(target);
        } catch (const std::exception& e) {
            throw ESkinError(target + ": " + e.what());
        }
    }
    return static_cast<int>(all.size());
}

void TouchStamp(const std::string& file, int count) {
    std::ofstream out(file, std::ios::trunc);
    out << count << " bitmaps\n";
    if (!out) throw ESkinError(file + ": cannot be written");
}
