// Persistent objects and components: names, ownership, free notification and the loading state that
// form definitions put components in.
#pragma once

#include "platform/core/Classes.h"
#include "platform/core/Exceptions.h"
#include "platform/vcl/Events.h"
#include "platform/vcl/Sets.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

HARBEK_DECLARE_EXCEPTION(EComponentError, Exception);

class TPropertyReader;

// The class name of any object, as written in form definitions ("TButton", "TFrmMain").
std::string ClassNameOf(const TObject* object);

class TPersistent : public TObject {
public:
    // Copies the state of source into this object; raises EConvertError when the two cannot exchange.
    virtual void Assign(const TPersistent* source);
    std::string ClassName() const { return ClassNameOf(this); }

protected:
    virtual void AssignTo(TPersistent* dest) const;
    [[noreturn]] void AssignError(const TPersistent* source) const;
};

enum TComponentStateItem { csLoading, csReading, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateItem>;
enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    // An identifier, unique (ignoring case) among the owner's components; raises EComponentError.
    virtual void SetName(const std::string& name);
    TComponent* Owner() const { return owner_; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    // Raises EListError for an index out of range.
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    // Owned component by name, ignoring case; nullptr when there is none.
    TComponent* FindComponent(std::string_view name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Deletes every owned component, the last created first.
    void DestroyComponents();

    long Tag() const { return tag_; }
    void SetTag(long tag) { tag_ = tag; }

    TComponentState ComponentState() const { return state_; }

    // Asks to be told (Notification with opRemove) when component is destroyed. Mutual and idempotent.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Form definitions: a nested object names its enclosing object as parent. The default accepts only
    // the owner itself (a component without a window at the top of the definition).
    virtual void SetParentComponent(TComponent* parent);
    // Reads one property of a form definition; false when this class does not know the name.
    virtual bool ReadProperty(TPropertyReader& reader);
    // Called on every component of a definition, in creation order, once all are read.
    virtual void Loaded();

    void SetLoading(bool loading);

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    void SetDestroying() { state_ << csDestroying; }

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void UnlinkFreeNotifications();
    void IndexName(TComponent* component);
    void UnindexName(TComponent* component);

    // Names ignoring ASCII case, without a folded copy of each.
    struct TNameHash {
        std::size_t operator()(std::string_view name) const;
    };
    struct TNameEqual {
        bool operator()(std::string_view a, std::string_view b) const;
    };

    std::string name_;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    // Named owned components; each key views the component's own name_.
    std::unordered_map<std::string_view, TComponent*, TNameHash, TNameEqual> byName_;
    std::uint64_t componentsChanges_ = 0; // counts inserts and removals, to spot a list left untouched
    std::vector<TComponent*> freeNotifies_;
    TComponentState state_;
    long tag_ = 0;
};

// True for a name the class library accepts as an identifier: a letter or '_', then letters, digits
// and '_'.
bool IsValidIdent(std::string_view name);
