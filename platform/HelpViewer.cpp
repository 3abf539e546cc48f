#include "HelpViewer.h"

#include "ChmArchive.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>

namespace {
const QString helpScheme = QStringLiteral("chm");
}

HelpViewer::HelpViewer(std::unique_ptr<ChmArchive> helpArchive, QWidget* parent)
    : QTextBrowser(parent), archive(std::move(helpArchive))
{
    // The browser would hand the file's own topics to the desktop too, whose browser cannot read them.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpViewer::followLink);
    resize(700, 550);
}

HelpViewer::~HelpViewer() = default;

QUrl HelpViewer::topicUrl(const QString& topic)
{
    QUrl url;
    url.setScheme(helpScheme);
    url.setPath(topic.startsWith(QLatin1Char('/')) ? topic : QLatin1Char('/') + topic);
    return url;
}

void HelpViewer::followLink(const QUrl& url)
{
    const QString scheme = url.scheme();
    if (scheme == helpScheme)
        setSource(url);
    else if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"))
        QDesktopServices::openUrl(url);
}

void HelpViewer::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel))
        close();
    else
        QTextBrowser::keyPressEvent(event);
}

QVariant HelpViewer::loadResource(int type, const QUrl& name)
{
    if (name.scheme() != helpScheme)
        return QTextBrowser::loadResource(type, name);
    const QByteArray bytes = archive->object(name.path());
    if (bytes.isEmpty())
        return {};
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
        return QString::fromUtf8(bytes);
    return bytes;
}

HelpViewer* showHelpTopic(const QString& helpFile, const QString& topic)
{
    auto archive = std::make_unique<ChmArchive>(helpFile);
    if (!archive->isOpen() || !archive->contains(HelpViewer::topicUrl(topic).path()))
        return nullptr;
    auto* viewer = new HelpViewer(std::move(archive));   // owned by the window system: deleted on close
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window ends the program, also while help is open.
    viewer->setAttribute(Qt::WA_QuitOnClose, false);
    viewer->setWindowTitle(QFileInfo(helpFile).completeBaseName());
    viewer->setSource(HelpViewer::topicUrl(topic), QTextDocument::HtmlResource);
    viewer->show();
    return viewer;
}
