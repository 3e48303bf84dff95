// The audio decoder library "g726lib.dll", built in: its two entry points create and destroy the G.726
// decoder object (client/G726Audio.h).
#pragma once

void RegisterAudioLibrary();
