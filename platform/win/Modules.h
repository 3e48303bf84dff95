// Modules compiled into the program, loaded and bound by name as the system loads its libraries.
//
// LoadLibrary matches the file name without its folder, ignoring case ("WSOCK32.DLL" and
// "C:\x\wsock32.dll" find "wsock32.dll"). Modules whose existence depends on the path (the language
// libraries in the program's folder) come from resolvers that later layers register.
#pragma once

#include "platform/core/Types.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using FARPROC = void (*)();

inline constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr DWORD ERROR_PROC_NOT_FOUND = 127;

struct TBuiltinProc {
    std::string Name;
    FARPROC Proc = nullptr;
};

struct TBuiltinModule {
    // File name, e.g. "g726lib.dll".
    std::string Name;
    std::vector<TBuiltinProc> Procs;
    // Whatever the module's provider keeps with it (a loaded string table, for instance).
    std::shared_ptr<void> Data;
};

// Adds (or replaces) a module under its file name.
void RegisterBuiltinModule(TBuiltinModule module);
// Consulted, newest first, for a path that no registered name matches.
using ModuleResolver = std::function<std::optional<TBuiltinModule>(const std::string& path)>;
void RegisterModuleResolver(ModuleResolver resolver);

// Reference-counted: loading a loaded module returns its handle again; the last FreeLibrary unloads it
// and its handle is never valid again (a later load gets a new one). Failures set ERROR_MOD_NOT_FOUND.
HMODULE LoadLibrary(LPCSTR fileName);
BOOL FreeLibrary(HMODULE module);
// ERROR_PROC_NOT_FOUND for a missing name (names are case-sensitive), ERROR_INVALID_HANDLE (6) for a
// handle that is not loaded.
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
// The handle of a loaded module, or the program's own instance for nullptr; no reference is taken.
HMODULE GetModuleHandle(LPCSTR fileName);
// The provider's data of a loaded module, nullptr otherwise.
std::shared_ptr<void> GetModuleData(HMODULE module);
