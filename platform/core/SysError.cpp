#include "platform/core/SysError.h"

#include "platform/core/StrUtils.h"
#include "platform/core/Threads.h"

#include <cerrno>

DWORD WinErrorFromErrno(int error) {
    switch (error) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    case EISDIR:
        return ERROR_DIRECTORY;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case ETXTBSY:
        return ERROR_SHARING_VIOLATION;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case EPIPE:
        return ERROR_BROKEN_PIPE;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ERROR_DISK_FULL;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case EBUSY:
        return ERROR_BUSY;
    case ELOOP:
        return ERROR_CANT_RESOLVE_FILENAME;
    case EIO:
        return ERROR_IO_DEVICE;
    default:
        return ERROR_INVALID_FUNCTION;
    }
}

void SetLastErrorFromErrno(int error) {
    SetLastError(WinErrorFromErrno(error));
}

std::string SysErrorMessage(DWORD error) {
    switch (error) {
    case ERROR_SUCCESS:
        return "The operation completed successfully.";
    case ERROR_INVALID_FUNCTION:
        return "Incorrect function.";
    case ERROR_FILE_NOT_FOUND:
        return "The system cannot find the file specified.";
    case ERROR_PATH_NOT_FOUND:
        return "The system cannot find the path specified.";
    case ERROR_TOO_MANY_OPEN_FILES:
        return "The system cannot open the file.";
    case ERROR_ACCESS_DENIED:
        return "Access is denied.";
    case ERROR_INVALID_HANDLE:
        return "The handle is invalid.";
    case ERROR_NOT_ENOUGH_MEMORY:
        return "Not enough storage is available to process this command.";
    case ERROR_NOT_SAME_DEVICE:
        return "The system cannot move the file to a different disk drive.";
    case ERROR_NO_MORE_FILES:
        return "There are no more files.";
    case ERROR_WRITE_PROTECT:
        return "The media is write protected.";
    case ERROR_SHARING_VIOLATION:
        return "The process cannot access the file because it is being used by another process.";
    case ERROR_HANDLE_EOF:
        return "Reached the end of the file.";
    case ERROR_FILE_EXISTS:
        return "The file exists.";
    case ERROR_INVALID_PARAMETER:
        return "The parameter is incorrect.";
    case ERROR_BROKEN_PIPE:
        return "The pipe has been ended.";
    case ERROR_DISK_FULL:
        return "There is not enough space on the disk.";
    case ERROR_INVALID_NAME:
        return "The filename, directory name, or volume label syntax is incorrect.";
    case ERROR_DIR_NOT_EMPTY:
        return "The directory is not empty.";
    case ERROR_BUSY:
        return "The requested resource is in use.";
    case ERROR_ALREADY_EXISTS:
        return "Cannot create a file when that file already exists.";
    case ERROR_FILENAME_EXCED_RANGE:
        return "The filename or extension is too long.";
    case ERROR_DIRECTORY:
        return "The directory name is invalid.";
    case ERROR_IO_DEVICE:
        return "The request could not be performed because of an I/O device error.";
    case ERROR_CANT_RESOLVE_FILENAME:
        return "The name of the file cannot be resolved by the system.";
    default:
        return Format("System error.  Code: %u.", static_cast<unsigned>(error));
    }
}
