// Loading form definitions into live components.
//
// The reader creates each nested object by its registered class name, gives it its name and its
// parent, sets its properties by name (each class reads its own in ReadProperty and defers to its
// base), binds named components to the form's fields and event names to the form's methods through
// the form's TFormBindings, and finally calls Loaded on every component. Anything it cannot place
// raises EFormDefinitionError naming the file, the line and the property.
#pragma once

#include "platform/vcl/Components.h"
#include "platform/vcl/FormDefinition.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <utility>
#include <vector>

// ---- Fields and methods a form offers to its definition ----

class TFormBindings {
public:
    struct Field {
        std::string name;
        std::string className;
        // Stores value (which may be nullptr) into the root's field; false when value has the wrong type.
        std::function<bool(TComponent* root, TComponent* value)> assign;
    };
    struct Method {
        std::string name;
        std::type_index eventType;
        // Writes the event (of eventType) for the root's method into *event.
        std::function<void(TComponent* root, void* event)> make;
    };

    template <class F, class C>
    TFormBindings& AddField(const char* name, C* F::*field) {
        static_assert(std::is_base_of_v<TComponent, C>, "fields hold components");
        fields_.push_back(Field{name, "", [field](TComponent* root, TComponent* value) {
                                    F* form = dynamic_cast<F*>(root);
                                    if (!form) return false;
                                    C* typed = dynamic_cast<C*>(value);
                                    if (value && !typed) return false;
                                    form->*field = typed;
                                    return true;
                                }});
        return *this;
    }

    template <class F, class... A>
    TFormBindings& AddMethod(const char* name, void (F::*method)(A...)) {
        methods_.push_back(
            Method{name, std::type_index(typeid(TEvent<A...>)), [method](TComponent* root, void* out) {
                       F* form = dynamic_cast<F*>(root);
                       *static_cast<TEvent<A...>*>(out) = form ? TEvent<A...>(form, method) : TEvent<A...>();
                   }});
        return *this;
    }

    const Field* FindField(std::string_view name) const;
    const Method* FindMethod(std::string_view name) const;
    const std::vector<Field>& Fields() const { return fields_; }

private:
    std::vector<Field> fields_;
    std::vector<Method> methods_;
};

// ---- One property assignment being read ----

class TPropertyReader {
public:
    TPropertyReader(const TDfmProperty& property, const std::string& fileName,
                    class TFormLoadContext& context);

    const std::string& Name() const { return property_.name; }
    int Line() const { return property_.line; }
    const TDfmValue& Value() const { return property_.value; }

    // Case-insensitive comparison with the whole property name. Inline: a class's reader asks it of
    // each name it knows, and most differ in length.
    bool Is(std::string_view name) const {
        return property_.name.size() == name.size() && NameEquals(property_.name, name);
    }
    // "Font.Name" with prefix "Font." gives true and sub "Name".
    bool HasPrefix(std::string_view prefix, std::string* rest = nullptr) const;

    // Typed readers; each raises EFormDefinitionError when the value has another form.
    int Integer() const;
    std::int64_t Int64() const;
    double Float() const; // an integer is accepted too
    bool Boolean() const;
    std::string String() const;
    std::string Ident() const;
    // The identifiers of a set.
    std::vector<std::string> SetIdents() const;
    // A list of strings: ( 'a' 'b' ).
    std::vector<std::string> Strings() const;
    // An identifier from a table of names (case-insensitive).
    template <class E>
    E Enum(std::initializer_list<std::pair<const char*, E>> names) const {
        const std::string ident = Ident();
        for (const auto& [n, v] : names)
            if (NameEquals(ident, n)) return v;
        Fail("'" + ident + "' is not a valid value");
    }
    // A set of identifiers from a table of names.
    template <class E>
    TSet<E> EnumSet(std::initializer_list<std::pair<const char*, E>> names) const {
        TSet<E> result;
        for (const std::string& ident : SetIdents()) {
            bool found = false;
            for (const auto& [n, v] : names)
                if (NameEquals(ident, n)) {
                    result << v;
                    found = true;
                }
            if (!found) Fail("'" + ident + "' is not a valid set element");
        }
        return result;
    }
    // A file name (string) resolved against the resource root; the file must exist.
    std::string FileName() const;
    // An event: the value names a method of the form, bound through its TFormBindings.
    template <class Ev>
    Ev Event() const {
        Ev event;
        BindEvent(std::type_index(typeid(Ev)), &event);
        return event;
    }
    // A reference to another component by name, resolved once the whole definition has been read;
    // assign answers false when the component is not of the kind the property takes.
    void Reference(std::function<bool(TComponent*)> assign) const;

    [[noreturn]] void Fail(const std::string& message) const;

private:
    static bool NameEquals(std::string_view a, std::string_view b);
    void BindEvent(std::type_index type, void* event) const;
    const TDfmValue& Expect(TDfmValue::Kind kind, const char* what) const;

    const TDfmProperty& property_;
    const std::string& fileName_;
    class TFormLoadContext& context_;
};

// ---- Classes that definitions may name ----

using TComponentFactory = TComponent* (*)(TComponent* owner);
void RegisterComponentClass(const std::string& className, TComponentFactory factory);
template <class T>
void RegisterComponentClass(const std::string& className) {
    RegisterComponentClass(className, [](TComponent* owner) -> TComponent* { return new T(owner); });
}
// nullptr for a name that was never registered (case-insensitive).
TComponentFactory FindComponentClass(std::string_view className);

// ---- Loading ----

// Where "skins/..." and the other relative file names of definitions are found, and where
// LoadFormResource looks for "forms/<unit>.dfm". Defaults to ResourceFolder().
void SetFormResourceRoot(const std::string& folder);
std::string FormResourceRoot();
// A relative name resolved against the root; absolute names stay as they are.
std::string ResolveResourceFile(const std::string& name);

// Loads a parsed definition into root (the already constructed form or component): the definition's
// root object must be of root's class. fileName is used in error messages.
void LoadComponentDefinition(TComponent* root, const TDfmObject& definition, const std::string& fileName,
                             const TFormBindings* bindings);
void LoadComponentDefinitionFile(TComponent* root, const std::string& fileName,
                                 const TFormBindings* bindings);
