// skingen: draws the skin bitmaps of the client from their descriptions.
//     skingen -o OUTDIR [--stamp FILE] DESCRIPTION.skin ...
//     skingen --preview SHEET.png DESCRIPTION.skin ...
//     skingen --icon DESCRIPTION.icon -o OUTDIR [--stamp FILE]
// Writes OUTDIR/NAME.bmp for every bitmap, or the program's icon in the icon theme's sizes under
// OUTDIR/hicolor/ (AppIcon.h); the stamp file is touched last, so a build that stops half-way runs again.
#include "tools/skingen/AppIcon.h"
#include "tools/skingen/SkinGen.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Drawing text needs a GUI application, never a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string outDir, stamp, preview, icon;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "-o" || arg == "--stamp" || arg == "--preview" || arg == "--icon") && i + 1 < argc) {
            (arg == "-o" ? outDir : arg == "--stamp" ? stamp : arg == "--icon" ? icon : preview) = argv[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "skingen: unknown option %s\n", arg.c_str());
            return 2;
        } else {
            inputs.push_back(arg);
        }
    }
    if (icon.empty() ? (outDir.empty() && preview.empty()) || inputs.empty()
                     : outDir.empty() || !preview.empty() || !inputs.empty()) {
        std::fprintf(stderr, "usage: skingen -o OUTDIR [--stamp FILE] DESCRIPTION.skin ...\n"
                             "       skingen --preview SHEET.png DESCRIPTION.skin ...\n"
                             "       skingen --icon DESCRIPTION.icon -o OUTDIR [--stamp FILE]\n");
        return 2;
    }
    try {
        if (!icon.empty()) {
            WriteIconTheme(icon, outDir);
            if (!stamp.empty()) TouchStamp(stamp, static_cast<int>(std::size(kIconSizes)));
            std::printf("skingen: icon %s in %s/hicolor\n", icon.c_str(), outDir.c_str());
            return 0;
        }
        if (!preview.empty()) {
            PreviewSkins(inputs, preview);
            std::printf("skingen: preview in %s\n", preview.c_str());
            if (outDir.empty()) return 0;
        }
        const int count = GenerateSkins(inputs, outDir);
        if (!stamp.empty()) TouchStamp(stamp, count);
        std::printf("skingen: %d bitmaps in %s\n", count, outDir.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}
