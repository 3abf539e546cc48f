#pragma once

// Stands in for the desktop: records the addresses handed to it (QDesktopServices::setUrlHandler).

#include <QList>
#include <QObject>
#include <QUrl>

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};
