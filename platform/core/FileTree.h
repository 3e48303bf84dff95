// Whole folder trees: removal and moves.
#pragma once

#include <string>

// Removes a file, a link or a folder with everything in it. Links are removed as links, never followed:
// a link to a folder elsewhere leaves that folder and its contents alone. Entries without write
// permission are made writable first. Whatever cannot be removed is skipped and the rest still goes.
// True when nothing is left at path (also when there was nothing).
bool DeleteTree(const std::string& path);

// Moves a file or folder to destination, which is its new name. An existing destination folder takes
// in the source's contents (folders merge, files of the same name are replaced). Works across file
// systems by copying, and removes the source only after its copy is complete. When source's last part
// is a mask ("dir/*.*"), every match goes into the destination folder, created when missing. Refuses
// to move a folder into itself. True when everything moved.
bool MoveTree(const std::string& source, const std::string& destination);
