#include "tests/e2e/FormLayout.h"

#include "platform/vcl/FormDefinition.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace e2e {

namespace {

const TDfmValue* Find(const TDfmObject& object, const char* name) {
    for (const TDfmProperty& p : object.properties)
        if (p.name == name) return &p.value;
    return nullptr;
}

int IntegerOr(const TDfmObject& object, const char* name, int fallback) {
    const TDfmValue* v = Find(object, name);
    return v && v->kind == TDfmValue::Integer ? static_cast<int>(v->integer) : fallback;
}

// The size of one frame of a skin control's strip, from the generated bitmap's header.
bool SkinFrameSize(const TDfmObject& object, const std::string& resources, int& width, int& height) {
    const TDfmValue* file = Find(object, "Bitmap.FileName");
    if (!file) file = Find(object, "Picture.FileName");
    if (!file || file->kind != TDfmValue::String) return false;
    std::ifstream in(resources + "/" + file->text, std::ios::binary);
    unsigned char header[26] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof header) || header[0] != 'B' || header[1] != 'M')
        return false;
    const auto word = [&](int at) {
        return static_cast<std::int32_t>(header[at] | header[at + 1] << 8 | header[at + 2] << 16 |
                                         static_cast<std::uint32_t>(header[at + 3]) << 24);
    };
    width = word(18);
    height = std::abs(word(22));
    const int frames = std::max(1, IntegerOr(object, "TotalFrames", 1));
    const TDfmValue* direction = Find(object, "Direction");
    if (direction && direction->text.find("Vertical") != std::string::npos)
        height /= frames;
    else
        width /= frames;
    return width > 0 && height > 0;
}

void Collect(const TDfmObject& object, int originX, int originY, const std::string& resources,
             std::map<std::string, Box>& out, std::map<std::string, int>& menuIndex) {
    int item = 0;
    for (const TDfmObject& child : object.children) {
        if (child.className == "TMenuItem") {
            const TDfmValue* caption = Find(child, "Caption");
            const TDfmValue* visible = Find(child, "Visible");
            const bool line = caption && caption->text == "-";
            const bool shown = !visible || visible->text != "False";
            if (!line && shown) menuIndex[child.name] = item++;
            Collect(child, 0, 0, resources, out, menuIndex);
            continue;
        }
        Box box{originX + IntegerOr(child, "Left", 0), originY + IntegerOr(child, "Top", 0),
                IntegerOr(child, "Width", 0), IntegerOr(child, "Height", 0)};
        int w = 0, h = 0;
        if ((box.w == 0 || box.h == 0) && SkinFrameSize(child, resources, w, h)) {
            box.w = box.w ? box.w : w;
            box.h = box.h ? box.h : h;
        }
        box.w = box.w ? box.w : 16;
        box.h = box.h ? box.h : 16;
        if (!child.name.empty()) out[child.name] = box;
        Collect(child, box.x, box.y, resources, out, menuIndex);
    }
}

} // namespace

FormLayout::FormLayout(const std::string& file) : file_(file) {
    const char* source = std::getenv("HARBEK_SOURCE");
    const char* binary = std::getenv("HARBEK_BINARY");
    const std::string resources = std::string(binary ? binary : ".") + "/client/resources";
    const TDfmObject form =
        LoadFormDefinition(std::string(source ? source : ".") + "/resources/forms/" + file);
    clientHeight_ = IntegerOr(form, "ClientHeight", 0);
    Collect(form, 0, 0, resources, bounds_, menuIndex_);
}

Box FormLayout::Bounds(const std::string& control) const {
    const auto it = bounds_.find(control);
    if (it == bounds_.end()) throw std::runtime_error(file_ + " holds no control " + control);
    return it->second;
}

Box FormLayout::BoundsFromBottom(const std::string& control, int clientHeight) const {
    if (clientHeight_ <= 0) throw std::runtime_error(file_ + " gives no client height");
    Box b = Bounds(control);
    b.y += clientHeight - clientHeight_;
    return b;
}

int FormLayout::MenuIndex(const std::string& item) const {
    const auto it = menuIndex_.find(item);
    if (it == menuIndex_.end()) throw std::runtime_error(file_ + " holds no shown menu item " + item);
    return it->second;
}

} // namespace e2e
