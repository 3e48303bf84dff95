// Cells of the search windows: their definitions hold grids of numbered components (PaintBox12,
// ifm3_17), which the windows keep in tables instead of one field each.
#pragma once

#include "platform/core/StrUtils.h"
#include "platform/vcl/Components.h"

#include <string>

// The component of that name owned by the form; raises EComponentError when it is missing or of
// another class, so a definition that lacks a cell fails at construction.
template <class T>
T* RequireComponent(const TComponent* form, const std::string& name) {
    T* component = dynamic_cast<T*>(form->FindComponent(name));
    if (!component)
        throw EComponentError(
            Format("%s has no component %s of the expected class", form->Name().c_str(), name.c_str()));
    return component;
}
