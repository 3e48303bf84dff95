#include "platform/vcl/FormReader.h"

#include "platform/core/AppPaths.h"
#include "platform/core/StrUtils.h"

#include <limits>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

// ---- TFormBindings ----

const TFormBindings::Field* TFormBindings::FindField(std::string_view name) const {
    for (const Field& f : fields_)
        if (SameText(f.name, name)) return &f;
    return nullptr;
}

const TFormBindings::Method* TFormBindings::FindMethod(std::string_view name) const {
    for (const Method& m : methods_)
        if (SameText(m.name, name)) return &m;
    return nullptr;
}

// ---- Loading context ----

class TFormLoadContext {
public:
    struct Fixup {
        std::string target;
        int line;
        std::string property;
        std::function<bool(TComponent*)> assign;
    };

    TComponent* root = nullptr;
    const TFormBindings* bindings = nullptr;
    std::string fileName;
    std::vector<Fixup> fixups;
    std::vector<TComponent*> loaded;
    std::vector<std::string> boundFields;
};

// ---- TPropertyReader ----

TPropertyReader::TPropertyReader(const TDfmProperty& property, const std::string& fileName,
                                 TFormLoadContext& context)
    : property_(property), fileName_(fileName), context_(context) {}

bool TPropertyReader::NameEquals(std::string_view a, std::string_view b) {
    return SameText(a, b);
}

bool TPropertyReader::HasPrefix(std::string_view prefix, std::string* rest) const {
    if (property_.name.size() <= prefix.size() || !StartsText(prefix, property_.name)) return false;
    if (rest) *rest = property_.name.substr(prefix.size());
    return true;
}

void TPropertyReader::Fail(const std::string& message) const {
    throw EFormDefinitionError(fileName_, property_.line, property_.name, message);
}

const TDfmValue& TPropertyReader::Expect(TDfmValue::Kind kind, const char* what) const {
    if (property_.value.kind != kind) Fail(Format("%s expected", what));
    return property_.value;
}

std::int64_t TPropertyReader::Int64() const {
    return Expect(TDfmValue::Integer, "an integer").integer;
}

int TPropertyReader::Integer() const {
    const std::int64_t v = Int64();
    // Colours and masks are written as unsigned $XXXXXXXX; keep their bit pattern.
    if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::uint32_t>::max())
        return static_cast<int>(static_cast<std::uint32_t>(v));
    Fail(Format("%lld is out of the integer range", static_cast<long long>(v)));
}

double TPropertyReader::Float() const {
    if (property_.value.kind == TDfmValue::Integer) return static_cast<double>(property_.value.integer);
    return Expect(TDfmValue::Float, "a number").number;
}

bool TPropertyReader::Boolean() const {
    const std::string& ident = Expect(TDfmValue::Ident, "True or False").text;
    if (SameText(ident, "True")) return true;
    if (SameText(ident, "False")) return false;
    Fail("True or False expected");
}

std::string TPropertyReader::String() const {
    return Expect(TDfmValue::String, "a string").text;
}

std::string TPropertyReader::Ident() const {
    return Expect(TDfmValue::Ident, "an identifier").text;
}

std::vector<std::string> TPropertyReader::SetIdents() const {
    std::vector<std::string> out;
    for (const TDfmValue& item : Expect(TDfmValue::Set, "a set").items)
        out.push_back(item.text);
    return out;
}

std::vector<std::string> TPropertyReader::Strings() const {
    std::vector<std::string> out;
    for (const TDfmValue& item : Expect(TDfmValue::List, "a list of strings").items) {
        if (item.kind != TDfmValue::String) Fail("a list of strings expected");
        out.push_back(item.text);
    }
    return out;
}

std::string TPropertyReader::FileName() const {
    const std::string name = String();
    if (name.empty()) return name;
    const std::string path = ResolveResourceFile(name);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        Fail(Format("file \"%s\" not found", path.c_str()));
    return path;
}

void TPropertyReader::BindEvent(std::type_index type, void* event) const {
    const std::string name = Expect(TDfmValue::Ident, "a method name").text;
    if (!context_.bindings) Fail(Format("the form offers no methods, so %s cannot be bound", name.c_str()));
    const TFormBindings::Method* method = context_.bindings->FindMethod(name);
    if (!method) Fail(Format("the form has no method %s", name.c_str()));
    if (method->eventType != type) Fail(Format("method %s does not fit this event", name.c_str()));
    method->make(context_.root, event);
}

void TPropertyReader::Reference(std::function<bool(TComponent*)> assign) const {
    const std::string target = Ident();
    context_.fixups.push_back(
        TFormLoadContext::Fixup{target, property_.line, property_.name, std::move(assign)});
}

// ---- Class registry ----

namespace vcl_internal {
void RegisterStandardClasses();
}

namespace {

std::mutex& RegistryMutex() {
    static std::mutex m;
    return m;
}

std::map<std::string, TComponentFactory>& Registry() {
    static std::map<std::string, TComponentFactory> classes;
    return classes;
}

std::string& RootFolder() {
    static std::string root;
    return root;
}

void ReadProperties(TComponent* component, const std::vector<TDfmProperty>& properties,
                    TFormLoadContext& ctx) {
    for (const TDfmProperty& p : properties) {
        TPropertyReader reader(p, ctx.fileName, ctx);
        try {
            if (!component->ReadProperty(reader))
                reader.Fail(Format("unknown property of %s (%s)",
                                   component->Name().empty() ? "the root" : component->Name().c_str(),
                                   component->ClassName().c_str()));
        } catch (const EFormDefinitionError&) {
            throw;
        } catch (const std::exception& e) {
            reader.Fail(e.what());
        }
    }
}

void BindField(TComponent* component, int line, TFormLoadContext& ctx) {
    if (!ctx.bindings || component->Name().empty()) return;
    const TFormBindings::Field* field = ctx.bindings->FindField(component->Name());
    if (!field) return;
    if (!field->assign(ctx.root, component))
        throw EFormDefinitionError(ctx.fileName, line, "",
                                   Format("the form's field %s does not take a %s", field->name.c_str(),
                                          component->ClassName().c_str()));
    ctx.boundFields.push_back(field->name);
}

void ReadObject(const TDfmObject& def, TComponent* parent, TFormLoadContext& ctx) {
    if (def.inherited)
        throw EFormDefinitionError(ctx.fileName, def.line, "", "inherited objects are not supported");
    const TComponentFactory factory = FindComponentClass(def.className);
    if (!factory)
        throw EFormDefinitionError(ctx.fileName, def.line, "",
                                   Format("class %s is not registered", def.className.c_str()));
    TComponent* component = factory(ctx.root);
    component->SetLoading(true);
    ctx.loaded.push_back(component);
    try {
        component->SetName(def.name);
        component->SetParentComponent(parent);
    } catch (const EFormDefinitionError&) {
        throw;
    } catch (const std::exception& e) {
        throw EFormDefinitionError(ctx.fileName, def.line, "", e.what());
    }
    BindField(component, def.line, ctx);
    ReadProperties(component, def.properties, ctx);
    for (const TDfmObject& child : def.children)
        ReadObject(child, component, ctx);
}

} // namespace

void RegisterComponentClass(const std::string& className, TComponentFactory factory) {
    std::lock_guard lock(RegistryMutex());
    Registry()[UpperCase(className)] = factory;
}

TComponentFactory FindComponentClass(std::string_view className) {
    vcl_internal::RegisterStandardClasses();
    std::lock_guard lock(RegistryMutex());
    auto it = Registry().find(UpperCase(className));
    return it == Registry().end() ? nullptr : it->second;
}

void SetFormResourceRoot(const std::string& folder) {
    std::lock_guard lock(RegistryMutex());
    RootFolder() = folder;
}

std::string FormResourceRoot() {
    std::lock_guard lock(RegistryMutex());
    if (RootFolder().empty()) RootFolder() = ResourceFolder();
    return RootFolder();
}

std::string ResolveResourceFile(const std::string& name) {
    std::string path = name;
    for (char& c : path)
        if (c == '\\') c = '/';
    if (!path.empty() && path[0] == '/') return path;
    // Joined as the file system's paths join, without taking either apart.
    const std::string root = FormResourceRoot();
    if (root.empty()) return path;
    return root.back() == '/' ? root + path : root + '/' + path;
}

void LoadComponentDefinition(TComponent* root, const TDfmObject& definition, const std::string& fileName,
                             const TFormBindings* bindings) {
    if (!SameText(definition.className, root->ClassName()))
        throw EFormDefinitionError(fileName, definition.line, "",
                                   Format("the definition describes a %s, not a %s",
                                          definition.className.c_str(), root->ClassName().c_str()));
    TFormLoadContext ctx;
    ctx.root = root;
    ctx.bindings = bindings;
    ctx.fileName = fileName;
    ctx.loaded.push_back(root);
    root->SetLoading(true);
    try {
        if (!definition.name.empty() && root->Name().empty()) {
            // A second instance of a form class takes the next free name, as the class library does.
            std::string name = definition.name;
            for (int i = 1; root->Owner() && root->Owner()->FindComponent(name); ++i)
                name = definition.name + "_" + IntToStr(i);
            root->SetName(name);
        }
        ReadProperties(root, definition.properties, ctx);
        for (const TDfmObject& child : definition.children)
            ReadObject(child, root, ctx);
        for (const auto& fixup : ctx.fixups) {
            TComponent* target =
                SameText(fixup.target, root->Name()) ? root : root->FindComponent(fixup.target);
            if (!target)
                throw EFormDefinitionError(fileName, fixup.line, fixup.property,
                                           Format("no component named %s", fixup.target.c_str()));
            if (!fixup.assign(target))
                throw EFormDefinitionError(
                    fileName, fixup.line, fixup.property,
                    Format("%s (%s) cannot be used here", fixup.target.c_str(), target->ClassName().c_str()));
        }
        if (bindings) {
            for (const auto& field : bindings->Fields()) {
                bool bound = false;
                for (const auto& name : ctx.boundFields)
                    bound = bound || SameText(name, field.name);
                if (!bound)
                    throw EFormDefinitionError(
                        fileName, definition.line, "",
                        Format("the form expects a component named %s", field.name.c_str()));
            }
        }
    } catch (...) {
        for (TComponent* c : ctx.loaded)
            c->SetLoading(false);
        throw;
    }
    for (TComponent* c : ctx.loaded)
        c->Loaded();
}

void LoadComponentDefinitionFile(TComponent* root, const std::string& fileName,
                                 const TFormBindings* bindings) {
    LoadComponentDefinition(root, LoadFormDefinition(fileName), fileName, bindings);
}
