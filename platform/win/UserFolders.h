// The user's own folders as the desktop names them (xdg-user-dirs: XDG_VIDEOS_DIR, XDG_PICTURES_DIR,
// XDG_DOCUMENTS_DIR in ~/.config/user-dirs.dirs). Where the desktop names none, or the folder does not
// exist, the home folder.
#pragma once

#include <string>

std::string UserVideosFolder();
std::string UserPicturesFolder();
std::string UserDocumentsFolder();
