// Form definitions: the text parsed, written back and parsed again to the same tree, then loaded into
// live components of the class it names (standard and skin controls), and a loaded form painted. Qt
// runs headless; every component a definition makes is freed with its root.
#include "controls/SkinControls.h"
#include "fuzz/FuzzSupport.h"
#include "platform/vcl/FormDefinition.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace {

// The definition's root: a form, as every window's definition has, or any registered class.
std::unique_ptr<TComponent> MakeRoot(const std::string& className) {
    if (className == "TForm") return std::make_unique<TForm>(nullptr);
    const TComponentFactory factory = FindComponentClass(className);
    return std::unique_ptr<TComponent>(factory != nullptr ? factory(nullptr) : nullptr);
}

void Load(const TDfmObject& definition) {
    std::unique_ptr<TComponent> root = MakeRoot(definition.className);
    if (!root) return;
    try {
        LoadComponentDefinition(root.get(), definition, "fuzz.dfm", nullptr);
    } catch (const EFormDefinitionError&) {
        return;
    }
    // What a loaded form looks like, within a size that keeps the run quick.
    if (auto* form = dynamic_cast<TForm*>(root.get()))
        if (form->Width() > 0 && form->Height() > 0 && form->Width() * form->Height() <= (1 << 18))
            (void)form_testing::TakeSnapshot(form);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::UseHeadlessQt();
    RegisterSkinControls();
    // Definitions name pictures under the resource root: give them one to find.
    const std::string root = fuzz::ScratchFolder() + "resources";
    std::filesystem::create_directories(root + "/skins");
    TBitmap strip(64, 8);
    strip.SaveToFile(root + "/skins/example_strip.bmp");
    SetFormResourceRoot(root);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    TDfmObject definition;
    try {
        definition = ParseFormDefinition(text, "fuzz.dfm");
    } catch (const EFormDefinitionError&) {
        return 0;
    }
    const std::string written = WriteFormDefinition(definition);
    try {
        if (!(ParseFormDefinition(written, "written.dfm") == definition))
            fuzz::Fail("a written definition parses to another tree");
    } catch (const EFormDefinitionError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        fuzz::Fail("a written definition does not parse");
    }
    Load(definition);
    return 0;
}
