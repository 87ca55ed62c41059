#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

/// Stands in for the desktop's viewer: QDesktopServices hands it the URLs it would open.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void openUrl(const QUrl& url) { urls.append(url); }
};
