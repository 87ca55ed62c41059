#include "desktop/platform/QtDocumentOpener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

bool QtDocumentOpener::open(const std::string& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}
