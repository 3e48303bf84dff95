#include "client/AudioLibrary.h"

#include "client/G726Audio.h"

#include "platform/win/Modules.h"

void RegisterAudioLibrary() {
    RegisterBuiltinModule(
        TBuiltinModule{"g726lib.dll",
                       {{"G726Struct_Create", reinterpret_cast<FARPROC>(&G726Struct_Create)},
                        {"G726Struct_Destroy", reinterpret_cast<FARPROC>(&G726Struct_Destroy)}},
                       nullptr});
}
