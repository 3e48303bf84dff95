#include "platform/vcl/Components.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/FormReader.h"

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

std::string ClassNameOf(const TObject* object) {
    if (!object) return "nil";
    const char* mangled = typeid(*object).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    // Classes in a namespace keep only their own name, as the class library knows them.
    const auto colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

bool IsValidIdent(std::string_view name) {
    if (name.empty()) return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(name[0])) return false;
    return std::all_of(name.begin() + 1, name.end(),
                       [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

// ---- TPersistent ----

void TPersistent::Assign(const TPersistent* source) {
    if (source) {
        source->AssignTo(this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const {
    dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
    throw EConvertError(Format("Cannot assign a %s to a %s", source ? source->ClassName().c_str() : "nil",
                               ClassName().c_str()));
}

// ---- TComponent ----

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    state_ << csDestroying;
    UnlinkFreeNotifications();
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::UnlinkFreeNotifications() {
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& back = other->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, opRemove);
    }
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError(Format("'%s' is not a valid component name", name.c_str()));
    if (owner_ && !name.empty()) {
        TComponent* existing = owner_->FindComponent(name);
        if (existing && existing != this)
            throw EComponentError(Format("A component named %s already exists", name.c_str()));
    }
    if (owner_) owner_->UnindexName(this);
    name_ = name;
    if (owner_) owner_->IndexName(this);
}

std::size_t TComponent::TNameHash::operator()(std::string_view name) const {
    std::size_t h = 14695981039346656037ull;
    for (char c : name)
        h = (h ^ static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c)) * 1099511628211ull;
    return h;
}

bool TComponent::TNameEqual::operator()(std::string_view a, std::string_view b) const {
    return SameText(a, b);
}

void TComponent::IndexName(TComponent* component) {
    if (!component->name_.empty()) byName_.emplace(component->name_, component);
}

void TComponent::UnindexName(TComponent* component) {
    if (component->name_.empty()) return;
    auto it = byName_.find(std::string_view(component->name_));
    if (it != byName_.end() && it->second == component) byName_.erase(it);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError(Format("List index out of bounds (%d)", index));
    return components_[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    const auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component) return;
    if (!component->name_.empty() && FindComponent(component->name_))
        throw EComponentError(Format("A component named %s already exists", component->name_.c_str()));
    if (component->owner_) component->owner_->Remove(component);
    Insert(component);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this) return;
    Notification(component, opRemove);
    Remove(component);
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    ++componentsChanges_;
    component->owner_ = this;
    IndexName(component);
}

void TComponent::Remove(TComponent* component) {
    UnindexName(component);
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    ++componentsChanges_;
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        Remove(last);
        delete last;
    }
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    auto& back = component->freeNotifies_;
    if (std::find(back.begin(), back.end(), this) == back.end()) back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component),
                        freeNotifies_.end());
    auto& back = component->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component) RemoveFreeNotification(component);
    // Handlers may delete components; walk a copy and skip those gone meanwhile.
    const std::vector<TComponent*> snapshot = components_;
    const std::uint64_t changes = componentsChanges_;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        if (componentsChanges_ == changes ||
            std::find(components_.begin(), components_.end(), *it) != components_.end())
            (*it)->Notification(component, operation);
    }
}

void TComponent::SetParentComponent(TComponent* parent) {
    // Components without a window sit at the top of their owner's definition.
    if (!parent || parent == Owner()) return;
    throw EComponentError(Format("%s cannot be placed inside %s", ClassName().c_str(),
                                 parent ? parent->ClassName().c_str() : "nothing"));
}

bool TComponent::ReadProperty(TPropertyReader& reader) {
    if (reader.Is("Tag")) {
        tag_ = reader.Integer();
        return true;
    }
    // Where the designer placed a component that has no window; nothing at run time.
    if (reader.Is("Left") || reader.Is("Top")) {
        reader.Integer();
        return true;
    }
    return false;
}

void TComponent::Loaded() {
    state_ >> csLoading;
}

void TComponent::SetLoading(bool loading) {
    if (loading)
        state_ << csLoading << csReading;
    else
        state_ >> csLoading >> csReading;
}
