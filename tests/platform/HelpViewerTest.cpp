#include "ChmArchive.h"
#include "HelpFileMaker.h"
#include "HelpViewer.h"
#include "UrlRecorder.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// The help file with the directory entry of one object claiming another length. The entry grows
// by the bytes the longer number needs, taken from the free space at the end of its chunk.
QByteArray withClaimedLength(QByteArray chm, const QByteArray& name, quint64 length)
{
    const qsizetype blockLength = qFromLittleEndian<quint32>(chm.constData() + chm.indexOf("ITSP") + 16);
    const qsizetype chunk = chm.indexOf("PMGL");
    const quint32 freeSpace = qFromLittleEndian<quint32>(chm.constData() + chunk + 4);
    // Numbers of the directory: seven bits a byte, the last byte without its top bit.
    const auto afterNumber = [&chm](qsizetype at) {
        while (uchar(chm.at(at)) & 0x80)
            ++at;
        return at + 1;
    };
    const qsizetype entry = chm.indexOf(char(name.size()) + name, chunk);
    const qsizetype lengthAt = afterNumber(afterNumber(entry + 1 + name.size()));   // after space and start
    const qsizetype lengthEnd = afterNumber(lengthAt);
    QByteArray number(1, char(length & 0x7F));
    for (length >>= 7; length != 0; length >>= 7)
        number.prepend(char(0x80 | (length & 0x7F)));
    const qsizetype grown = number.size() - (lengthEnd - lengthAt);
    chm.remove(chunk + blockLength - freeSpace, grown);
    chm.replace(lengthAt, lengthEnd - lengthAt, number);
    qToLittleEndian<quint32>(freeSpace - quint32(grown), chm.data() + chunk + 4);
    return chm;
}

class HelpViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        helpFile = makeHelpFile(dir, "Corvane Help.chm",
                                {{"Overview.htm", "<html><body><h1>Corvane overview</h1><p><a href=\"Second.htm\">Next</a> "
                                                  "<a href=\"https://example.org/\">Web</a></p></body></html>"},
                                 {"Second.htm", "<html><body><p>Second topic</p>"
                                                "<p><a href=\"Overview.htm\">Back</a></p></body></html>"}});
    }

    TempDir dir;
    QString helpFile;
};

TEST_F(HelpViewerTest, TheArchiveGivesItsTopicsAndNothingForOthers)
{
    ChmArchive archive(helpFile);
    ASSERT_TRUE(archive.isOpen());
    EXPECT_TRUE(archive.contains("/Overview.htm"));
    EXPECT_TRUE(archive.object("/Second.htm").contains("Second topic"));
    EXPECT_FALSE(archive.contains("/Missing.htm"));
    EXPECT_TRUE(archive.object("/Missing.htm").isEmpty());
}

TEST_F(HelpViewerTest, AMissingOrDamagedFileIsNotOpen)
{
    EXPECT_FALSE(ChmArchive(dir.filePath("none.chm")).isOpen());
    EXPECT_FALSE(ChmArchive(dir.write("bad.chm", "not a help file")).isOpen());
}

TEST_F(HelpViewerTest, AnObjectClaimingAnImpossibleLengthReadsAsMissing)
{
    const QString damaged =
        dir.write("damaged.chm", withClaimedLength(readAll(helpFile), "/Overview.htm", quint64(1) << 40));
    ChmArchive archive(damaged);
    ASSERT_TRUE(archive.contains("/Overview.htm"));
    EXPECT_TRUE(archive.object("/Overview.htm").isEmpty());
    EXPECT_TRUE(archive.object("/Second.htm").contains("Second topic"));
}

// Where a click on the link of that text lands, in the viewer's viewport.
QPoint linkPosition(const QTextBrowser& viewer, const QString& text)
{
    QTextCursor cursor = viewer.document()->find(text);
    cursor.setPosition(cursor.selectionStart() + 1);
    return viewer.cursorRect(cursor).center();
}

TEST_F(HelpViewerTest, LinksInsideTheFileOpenInTheWindowWebLinksOnTheDesktopAndEscapeCloses)
{
    HelpViewer* viewer = showHelpTopic(helpFile, "/Overview.htm");
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->toPlainText().contains("Corvane overview"));
    UrlRecorder desktop;
    for (const char* scheme : {"https", "chm"})
        QDesktopServices::setUrlHandler(scheme, &desktop, "open");

    QTest::mouseClick(viewer->viewport(), Qt::LeftButton, {}, linkPosition(*viewer, "Next"));
    EXPECT_TRUE(viewer->toPlainText().contains("Second topic"));
    QTest::keyClick(viewer, Qt::Key_Tab);
    QTest::keyClick(viewer, Qt::Key_Return);
    EXPECT_TRUE(viewer->toPlainText().contains("Corvane overview"));
    QTest::mouseClick(viewer->viewport(), Qt::LeftButton, {}, linkPosition(*viewer, "Web"));
    for (const char* scheme : {"https", "chm"})
        QDesktopServices::unsetUrlHandler(scheme);
    EXPECT_EQ(desktop.opened, QList<QUrl>{QUrl("https://example.org/")});
    EXPECT_TRUE(viewer->toPlainText().contains("Corvane overview"));
    QTest::keyClick(viewer, Qt::Key_Escape);
    EXPECT_FALSE(viewer->isVisible());
}

TEST_F(HelpViewerTest, AnOpenHelpWindowDoesNotKeepTheProgramRunning)
{
    QWidget mainWindow;
    mainWindow.show();
    const QPointer<HelpViewer> viewer = showHelpTopic(helpFile, "/Overview.htm");
    ASSERT_NE(viewer, nullptr);
    QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);
    // Only while the program runs is a last window noticed.
    int noticed = -1;
    QTimer::singleShot(0, &mainWindow, [&] {
        mainWindow.close();
        noticed = static_cast<int>(lastWindowClosed.count());
        QCoreApplication::quit();
    });
    QApplication::exec();
    EXPECT_EQ(noticed, 1);
    if (viewer)
        viewer->close();
}

TEST_F(HelpViewerTest, AMissingFileOrTopicShowsNothing)
{
    EXPECT_EQ(showHelpTopic(dir.filePath("none.chm"), "/Overview.htm"), nullptr);
    EXPECT_EQ(showHelpTopic(helpFile, "/Missing.htm"), nullptr);
}

}  // namespace
