#include "platform/win/Modules.h"
#include "platform/win/Winsock.h"

#include "platform/core/Threads.h"

#include <gtest/gtest.h>

namespace {

int Answer() {
    return 42;
}

TEST(Modules, SocketLibrariesBindByName) {
    HMODULE wsock = LoadLibrary("WSOCK32.DLL");
    ASSERT_NE(wsock, nullptr) << "names ignore case";
    EXPECT_EQ(GetProcAddress(wsock, "recv"), reinterpret_cast<FARPROC>(&winsock::recv));
    EXPECT_EQ(GetProcAddress(wsock, "WSAAsyncSelect"), reinterpret_cast<FARPROC>(&winsock::WSAAsyncSelect));
    EXPECT_EQ(GetProcAddress(wsock, "WSAIoctl"), nullptr) << "the 1.1 library has no WSAIoctl";
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(wsock, "RECV"), nullptr) << "entry names are case-sensitive";
    HMODULE ws2 = LoadLibrary("C:\\Windows\\System32\\ws2_32.dll");
    ASSERT_NE(ws2, nullptr);
    EXPECT_EQ(GetProcAddress(ws2, "WSAIoctl"), reinterpret_cast<FARPROC>(&winsock::WSAIoctl));
    EXPECT_TRUE(FreeLibrary(ws2));
    EXPECT_TRUE(FreeLibrary(wsock));
}

TEST(Modules, MissingModulesAndNamesFailWithThePlatformNumbers) {
    EXPECT_EQ(LoadLibrary("nosuch.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibrary(""), nullptr);
    EXPECT_EQ(LoadLibrary(nullptr), nullptr);
    HMODULE m = LoadLibrary("wsock32.dll");
    EXPECT_EQ(GetProcAddress(m, "no_such_entry"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(m, reinterpret_cast<LPCSTR>(std::uintptr_t{3})), nullptr) << "ordinals";
    FreeLibrary(m);
}

TEST(Modules, ReferenceCountedAndHandlesNeverComeBack) {
    HMODULE first = LoadLibrary("wsock32.dll");
    HMODULE again = LoadLibrary("wsock32.dll");
    EXPECT_EQ(first, again);
    EXPECT_EQ(GetModuleHandle("WSOCK32.dll"), first);
    EXPECT_TRUE(FreeLibrary(again));
    EXPECT_NE(GetProcAddress(first, "send"), nullptr) << "one reference is still held";
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_EQ(GetProcAddress(first, "send"), nullptr);
    EXPECT_EQ(GetModuleHandle("wsock32.dll"), nullptr);
    HMODULE later = LoadLibrary("wsock32.dll");
    EXPECT_NE(later, first);
    FreeLibrary(later);
    EXPECT_NE(GetModuleHandle(nullptr), nullptr);
}

TEST(Modules, LaterLayersRegisterModulesAndResolvers) {
    RegisterBuiltinModule(TBuiltinModule{
        "Codec.dll", {{"Answer", reinterpret_cast<FARPROC>(&Answer)}}, std::make_shared<int>(7)});
    HMODULE codec = LoadLibrary("codec.DLL");
    ASSERT_NE(codec, nullptr);
    auto answer = reinterpret_cast<int (*)()>(GetProcAddress(codec, "Answer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(*std::static_pointer_cast<int>(GetModuleData(codec)), 7);
    FreeLibrary(codec);

    RegisterModuleResolver([](const std::string& path) -> std::optional<TBuiltinModule> {
        if (path.find("LANGUAGE") == std::string::npos) return std::nullopt;
        return TBuiltinModule{"", {}, std::make_shared<std::string>(path)};
    });
    HMODULE language = LoadLibrary("/prog/LANGUAGE/dlleng.dll");
    ASSERT_NE(language, nullptr);
    EXPECT_EQ(*std::static_pointer_cast<std::string>(GetModuleData(language)), "/prog/LANGUAGE/dlleng.dll");
    EXPECT_EQ(LoadLibrary("/prog/other/dlleng2.dll"), nullptr);
    FreeLibrary(language);
}

} // namespace
