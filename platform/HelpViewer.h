#pragma once

// The help window: one topic of a compiled HTML help file in a text browser; links inside the
// file open in it, links to the web and to mail open on the desktop. Escape closes it.

#include <QTextBrowser>
#include <memory>

class ChmArchive;

class HelpViewer : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpViewer(std::unique_ptr<ChmArchive> archive, QWidget* parent = nullptr);
    ~HelpViewer() override;

    // The address of a topic inside the help file, such as "/Overview.htm".
    static QUrl topicUrl(const QString& topic);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void followLink(const QUrl& url);

    std::unique_ptr<ChmArchive> archive;
};

// Opens the help file on a topic in a window of its own and returns that window (deleted when
// it is closed); nothing when the file or the topic cannot be read.
HelpViewer* showHelpTopic(const QString& helpFile, const QString& topic);
