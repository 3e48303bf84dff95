#include "platform/win/Modules.h"

#include "platform/win/Messages.h"

#include "platform/core/StrUtils.h"
#include "platform/core/Threads.h"

#include <map>
#include <mutex>

namespace winsock {
// The socket library's export tables (WinsockModule.cpp).
TBuiltinModule Wsock32Module();
TBuiltinModule Ws2_32Module();
} // namespace winsock

namespace {

constexpr DWORD kErrorInvalidHandle = 6;

struct Loaded {
    TBuiltinModule Module;
    int References = 0;
};

struct ModuleTable {
    std::recursive_mutex Mutex;
    std::map<std::string, TBuiltinModule> Registered;
    std::vector<ModuleResolver> Resolvers;
    std::map<std::uintptr_t, Loaded> Handles;
    std::uintptr_t NextHandle = 0x70000000;

    ModuleTable() {
        for (auto module : {winsock::Wsock32Module(), winsock::Ws2_32Module()})
            Registered[LowerCase(module.Name)] = module;
    }
};

ModuleTable& Table() {
    static auto* table = new ModuleTable();
    return *table;
}

std::string BaseName(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return LowerCase(cut == std::string::npos ? path : path.substr(cut + 1));
}

} // namespace

void RegisterBuiltinModule(TBuiltinModule module) {
    auto& t = Table();
    std::lock_guard lock(t.Mutex);
    const std::string key = BaseName(module.Name);
    t.Registered[key] = std::move(module);
}

void RegisterModuleResolver(ModuleResolver resolver) {
    auto& t = Table();
    std::lock_guard lock(t.Mutex);
    t.Resolvers.push_back(std::move(resolver));
}

HMODULE LoadLibrary(LPCSTR fileName) {
    if (fileName == nullptr || *fileName == '\0') {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    auto& t = Table();
    std::lock_guard lock(t.Mutex);
    const std::string key = BaseName(fileName);
    for (auto& [handle, loaded] : t.Handles) {
        if (BaseName(loaded.Module.Name) == key) {
            ++loaded.References;
            return reinterpret_cast<HMODULE>(handle);
        }
    }
    std::optional<TBuiltinModule> found;
    auto it = t.Registered.find(key);
    if (it != t.Registered.end()) {
        found = it->second;
    } else {
        for (auto r = t.Resolvers.rbegin(); r != t.Resolvers.rend() && !found; ++r)
            found = (*r)(fileName);
    }
    if (!found) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    if (found->Name.empty()) found->Name = key;
    const std::uintptr_t handle = t.NextHandle;
    t.NextHandle += 0x10000;
    t.Handles[handle] = Loaded{std::move(*found), 1};
    return reinterpret_cast<HMODULE>(handle);
}

BOOL FreeLibrary(HMODULE module) {
    auto& t = Table();
    std::lock_guard lock(t.Mutex);
    auto it = t.Handles.find(reinterpret_cast<std::uintptr_t>(module));
    if (it == t.Handles.end()) {
        SetLastError(kErrorInvalidHandle);
        return FALSE;
    }
    if (--it->second.References == 0) t.Handles.erase(it);
    return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    auto& t = Table();
    std::lock_guard lock(t.Mutex);
    auto it = t.Handles.find(reinterpret_cast<std::uintptr_t>(module));
    if (it == t.Handles.end()) {
        SetLastError(kErrorInvalidHandle);
        return nullptr;
    }
    // Ordinals (values below 64K in place of a name) are not exported by any built-in module.
    if (reinterpret_cast<std::uintptr_t>(procName) < 0x10000) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    for (const auto& proc : it->second.Module.Procs)
        if (proc.Name == procName) return proc.Proc;
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

HMODULE GetModuleHandle(LPCSTR fileName) {
    if (fileName == nullptr) return MainInstance();
    auto& t = Table();
    std::lock_guard lock(t.Mutex);
    const std::string key = BaseName(fileName);
    for (auto& [handle, loaded] : t.Handles)
        if (BaseName(loaded.Module.Name) == key) return reinterpret_cast<HMODULE>(handle);
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

std::shared_ptr<void> GetModuleData(HMODULE module) {
    auto& t = Table();
    std::lock_guard lock(t.Mutex);
    auto it = t.Handles.find(reinterpret_cast<std::uintptr_t>(module));
    return it == t.Handles.end() ? nullptr : it->second.Module.Data;
}
