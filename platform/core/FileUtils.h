// Files and folders: the class library's file functions and the platform's file calls the system uses.
//
// Failures return false (or -1) and leave the platform's error number in GetLastError. Paths are native
// ('/'); the system's own Windows-style texts go through WinPathToNative first.
#pragma once

#include "platform/core/FilePaths.h"
#include "platform/core/FileSearch.h"
#include "platform/core/FileTree.h"
#include "platform/core/Types.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Files only: false for a folder.
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
bool DeleteFile(const std::string& path);
// Fails when newName exists, as the platform's rename does; never replaces.
bool RenameFile(const std::string& oldName, const std::string& newName);
// Copies bytes, permissions and modification time through a temporary file beside the destination, so
// an existing destination is replaced whole or not at all. Copying a file onto itself fails.
BOOL CopyFile(const std::string& source, const std::string& destination, BOOL failIfExists);
bool CreateDir(const std::string& path);
// Creates the folder and every missing parent; true when the folder exists afterwards.
bool ForceDirectories(const std::string& path);
// Empty folders only.
bool RemoveDir(const std::string& path);

// Size in bytes, or -1 when there is no such file.
std::int64_t FileSize(const std::string& path);
// The whole file, when it can be read and holds at most maxBytes; false otherwise, bytes then empty.
bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::string& bytes);
// Modification time in seconds since 1970, or -1.
std::int64_t FileAge(const std::string& path);
// Only faReadOnly has an effect (it takes away or gives back write permission); 0 or the error number.
int FileSetAttr(const std::string& path, int attributes);

// Bytes free for this user, and the size, of the file system holding path; -1 on failure.
std::int64_t DiskFree(const std::string& path);
std::int64_t DiskSize(const std::string& path);

std::string GetCurrentDir();
bool SetCurrentDir(const std::string& path);
