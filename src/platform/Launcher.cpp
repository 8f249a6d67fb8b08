#include "platform/Launcher.h"

#include <QDesktopServices>
#include <QUrl>

namespace mvx {

bool DesktopLauncher::OpenDocument(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

} // namespace mvx
