// ALSA reports every failed open on stderr; here a missing device or mixer is an expected answer.
#pragma once

void SilenceAlsaErrors();
