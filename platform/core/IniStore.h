// An INI document kept in step with its file.
//
// Reads see the file as it is on disk: the document is parsed again whenever the file changed since the
// last look. Every edit reaches the disk before it returns, through a temporary file in the same folder
// that replaces the old one by rename, so a crash leaves either the old or the new file, never half of
// one.
#pragma once

#include "platform/core/IniDocument.h"

#include <functional>
#include <mutex>
#include <string>
#include <sys/types.h>

class IniStore {
public:
    explicit IniStore(std::string path) : path_(std::move(path)) {}
    IniStore(const IniStore&) = delete;
    IniStore& operator=(const IniStore&) = delete;

    const std::string& Path() const { return path_; }

    // A missing or unreadable file reads as empty.
    template <typename Reader>
    auto Read(Reader&& reader) {
        std::lock_guard lock(mutex_);
        Refresh(false);
        return reader(static_cast<const IniDocument&>(doc_));
    }

    // Applies the editor to a copy of the document; when it reports a change, the copy is written and
    // kept. Raises EIniFileException "Unable to write to <path>" when the file cannot be read (its
    // contents would be lost) or written; the file and the document are then as they were.
    void Edit(const std::function<bool(IniDocument&)>& editor);

private:
    struct Stamp {
        bool exists = false;
        dev_t dev = 0;
        ino_t ino = 0;
        off_t size = 0;
        long long mtimeNs = 0;
        long long ctimeNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    bool TakeStamp(Stamp& stamp, bool& isFolder) const;
    // Reloads when the file changed; returns false when it exists but cannot be read.
    bool Refresh(bool forEdit);
    bool WriteReplacing(const std::string& bytes);

    std::string path_;
    std::mutex mutex_;
    IniDocument doc_;
    Stamp stamp_;
    bool loaded_ = false;
};
