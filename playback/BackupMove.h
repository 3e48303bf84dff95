// Moving the copies of the played stream out of the program's "Backup/" folder into a folder the user
// chose: what the move would do before it runs, and the move itself, folders joined with folders of the
// same name.
#pragma once

#include <string>
#include <vector>

struct BackupMovePlan {
    // The destination lies inside the folder whose entries move: an entry would be moved into itself.
    bool intoItself = false;
    // Files (paths relative to the destination) that a copy of the same name would replace.
    std::vector<std::string> replaced;
};

BackupMovePlan PlanBackupMove(const std::string& fromFolder, const std::string& destination);

// Moves every entry of `fromFolder` into `destination`. A same-named file there is replaced when
// `replace`; else it is kept, and the copy stays where it was with the files that share its name up to
// the extension (a recording and its index files). False on the first failure.
bool MoveBackupEntries(const std::string& fromFolder, const std::string& destination, bool replace);
