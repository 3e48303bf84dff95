#include "client/AudioLibrary.h"

#include "platform/win/Modules.h"

void RegisterAudioLibrary() {
    RegisterBuiltinModule(TBuiltinModule{"g726lib.dll", {}, nullptr});
}
