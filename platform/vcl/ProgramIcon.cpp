// The program as the desktop knows it: its icon on every window, and the name of its desktop entry.
#include "platform/vcl/FormReader.h"
#include "platform/vcl/QtSupport.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

namespace vcl_internal {

void ApplyProgramIdentity(QApplication& app) {
    // Wayland and the start-up notice match the windows to harbek.desktop by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("harbek"));
    // The build draws the icon into resources/icons/hicolor/; an install puts that folder into
    // share/icons/, beside the resources' share/harbek/.
    const QString root = ToQString(FormResourceRoot());
    for (const QString& theme : {root + "/icons/hicolor", root + "/../icons/hicolor"}) {
        QIcon icon;
        const QDir dir(theme);
        for (const QString& size : dir.entryList({QStringLiteral("*x*")}, QDir::Dirs)) {
            const QString file = dir.filePath(size + QStringLiteral("/apps/harbek.png"));
            const int side = size.section(QLatin1Char('x'), 0, 0).toInt();
            if (side > 0 && QFile::exists(file)) icon.addFile(file, QSize(side, side));
        }
        if (!icon.isNull()) {
            app.setWindowIcon(icon);
            return;
        }
    }
}

} // namespace vcl_internal
