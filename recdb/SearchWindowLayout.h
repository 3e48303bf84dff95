// Looks and placement shared by the calendar, hour table and minute table.
#pragma once

#include "controls/imgframe.h"

class TForm;

// Pixels of the skins' background colour within width x height become the desktop's button face.
void ReplaceSkinBackground(TImgFrame* image, int width, int height);

// The tables sit centred on the main window, a caption's height lower, inside the desktop work area.
void PlaceTableWindow(TForm* form);
