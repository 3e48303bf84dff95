#include "platform/win/UserFolders.h"

#include "platform/core/AppPaths.h"
#include "platform/core/FileUtils.h"

#include <QStandardPaths>

namespace {

std::string ExistingOrHome(QStandardPaths::StandardLocation location) {
    const std::string folder = QStandardPaths::writableLocation(location).toStdString();
    return !folder.empty() && DirectoryExists(folder) ? folder : HomeFolder();
}

} // namespace

std::string UserVideosFolder() {
    return ExistingOrHome(QStandardPaths::MoviesLocation);
}

std::string UserPicturesFolder() {
    return ExistingOrHome(QStandardPaths::PicturesLocation);
}

std::string UserDocumentsFolder() {
    return ExistingOrHome(QStandardPaths::DocumentsLocation);
}
