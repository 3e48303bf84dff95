// The audio decoder library "g726lib.dll" as far as this build has it: the library is there, its
// decoder is not yet, so start-up goes on with audio off.
#pragma once

void RegisterAudioLibrary();
