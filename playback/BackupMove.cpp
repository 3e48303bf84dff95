#include "playback/BackupMove.h"

#include <filesystem>
#include <set>
#include <system_error>

namespace {

namespace fs = std::filesystem;

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

bool IsFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool MoveEntry(const fs::path& from, const fs::path& to, bool replace);

bool MoveFolderContents(const fs::path& from, const fs::path& to, bool replace) {
    // Listed first: the folder changes while its entries leave it.
    std::error_code ec;
    std::vector<fs::path> children;
    for (const fs::directory_entry& child : fs::directory_iterator(from, ec))
        children.push_back(child.path());
    if (ec) return false;
    // A recording and its index files stay together: kept as a whole when one of them is.
    std::set<fs::path> kept;
    if (!replace)
        for (const fs::path& child : children)
            if (!IsFolder(child) && Exists(to / child.filename())) kept.insert(child.stem());
    for (const fs::path& child : children) {
        if (!IsFolder(child) && kept.count(child.stem()) != 0) continue;
        if (!MoveEntry(child, to / child.filename(), replace)) return false;
    }
    return true;
}

bool MoveEntry(const fs::path& from, const fs::path& to, bool replace) {
    std::error_code ec;
    if (IsFolder(from) && IsFolder(to)) {
        if (!MoveFolderContents(from, to, replace)) return false;
        // A folder still holding kept copies stays.
        if (fs::is_empty(from, ec)) fs::remove(from, ec);
        return !ec;
    }
    if (Exists(to)) {
        if (!replace) return true;
        if (!IsFolder(to)) fs::remove(to, ec);
    }
    fs::rename(from, to, ec);
    if (!ec) return true;
    // Another file system: copied, then the original removed.
    ec.clear();
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec) return false;
    fs::remove_all(from, ec);
    return !ec;
}

} // namespace

BackupMovePlan PlanBackupMove(const std::string& fromFolder, const std::string& destination) {
    BackupMovePlan plan;
    std::error_code ec;
    const fs::path from = fs::weakly_canonical(fromFolder, ec);
    const fs::path to = fs::weakly_canonical(destination, ec);
    if (ec) return plan;
    const fs::path inside = to.lexically_relative(from);
    plan.intoItself = !inside.empty() && inside != "." && *inside.begin() != "..";
    if (plan.intoItself) return plan;
    for (auto it = fs::recursive_directory_iterator(from, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path relative = it->path().lexically_relative(from);
        const fs::path target = to / relative;
        if (!Exists(target)) {
            if (it->is_directory(ec)) it.disable_recursion_pending();
            continue;
        }
        // A folder joins a folder; anything else at the destination is replaced, a file by a folder too.
        if (!IsFolder(target)) {
            plan.replaced.push_back(relative.string());
            if (it->is_directory(ec)) it.disable_recursion_pending();
        }
    }
    return plan;
}

bool MoveBackupEntries(const std::string& fromFolder, const std::string& destination, bool replace) {
    return MoveFolderContents(fromFolder, destination, replace);
}
