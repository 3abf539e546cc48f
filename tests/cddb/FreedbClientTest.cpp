#include "CddbTestServer.h"
#include "ScriptedUserInterface.h"
#include "UnitFreedb.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

const QString Hello = "cddb hello abc localhost Corvane 1.4";
const QString Args = "05001E02 2 150 900 30";
const QString Query = "cddb query " + Args;

// Milliseconds far above any wait these tests expect, so that only a hang exceeds them, also on a
// busy or sanitized machine.
constexpr int LongTimeOut = 120000;

class FreedbClient : public ::testing::Test {
protected:
    FreedbClient()
    {
        freedb.FHost = "127.0.0.1";
        freedb.FPort = server.port();
    }

    ScriptedUserInterface userInterface;
    CddbTestServer server;
    TFreedb freedb;
};

const QStringList JazzEntry{"# xmcd", "DISCID=05001e02", "DTITLE=Quartet / Night", "DYEAR=1961",
                            "TTITLE0=Blue", "TTITLE1=Green", "EXTD="};

}  // namespace

TEST_F(FreedbClient, ExactMatchIsTheReplyLineWithoutItsCode)
{
    server.replies[Query] = "200 rock 05001e02 Band / Album\r\n";
    EXPECT_EQ(freedb.QueryAlbums(Args), QStringList{"rock 05001e02 Band / Album"});
    server.settle();
    EXPECT_EQ(server.received, QStringList({Hello, Query, "quit"}));
    EXPECT_TRUE(userInterface.messages.isEmpty());
}

TEST_F(FreedbClient, InexactListEndsAtTheDotLine)
{
    server.replies[Query] = "211 close matches found\r\nrock 0a 1\r\njazz 0b 2\r\nmisc 0c 3\r\n.\r\nrock zz late\r\n";
    EXPECT_EQ(freedb.QueryAlbums(Args), QStringList({"rock 0a 1", "jazz 0b 2", "misc 0c 3"}));
    server.settle();
    EXPECT_EQ(server.received, QStringList({Hello, Query, "quit"}));
}

TEST_F(FreedbClient, ExactListEndsAtAnEmptyLineKeepingWhatCameBefore)
{
    server.replies[Query] = "210 exact matches\r\nrock 0a 1\r\n\r\njazz 0b 2\r\n.\r\n";
    EXPECT_EQ(freedb.QueryAlbums(Args), QStringList({"rock 0a 1"}));
}

TEST_F(FreedbClient, NoMatchIsAnEmptyListWithoutMessage)
{
    server.replies[Query] = "202 No match found.\r\n";
    EXPECT_TRUE(freedb.QueryAlbums(Args).isEmpty());
    server.settle();
    EXPECT_EQ(server.received, QStringList({Hello, Query, "quit"}));
    EXPECT_TRUE(userInterface.messages.isEmpty());
}

TEST_F(FreedbClient, ErrorCodeOnQueryIsReported)
{
    server.replies[Query] = "403 Database entry is corrupt.\r\n";
    EXPECT_TRUE(freedb.QueryAlbums(Args).isEmpty());
    ASSERT_EQ(userInterface.messages.size(), 1);
    EXPECT_EQ(userInterface.messages[0].text, "Received error message from server for query.");
    EXPECT_EQ(userInterface.messages[0].icon, ui::Icon::Error);
    server.settle();
    EXPECT_EQ(server.received.last(), "quit");
}

TEST_F(FreedbClient, RefusedHelloSendsNoQueryButQuits)
{
    server.replies[Hello] = "431 Handshake not successful, closing connection.\r\n";
    EXPECT_TRUE(freedb.QueryAlbums(Args).isEmpty());
    server.settle();
    EXPECT_EQ(server.received, QStringList({Hello, "quit"}));
}

TEST_F(FreedbClient, ReadWithoutCategoryTriesEachInOrderOverOneConnection)
{
    server.replies["cddb read jazz 05001E02"] = entryReply("jazz", "05001e02", JazzEntry);
    const QStringList album = freedb.ReadAlbum("", "05001E02");
    EXPECT_EQ(album, QStringList({"Quartet", "Night", "jazz", "1961", "Blue", "Green"}));
    server.settle();
    EXPECT_EQ(server.received,
              QStringList({Hello, "proto 5", "cddb read misc 05001E02", "cddb read rock 05001E02",
                           "cddb read data 05001E02", "cddb read blues 05001E02", "cddb read jazz 05001E02",
                           "quit"}));
    EXPECT_EQ(server.connections, 1);
}

TEST_F(FreedbClient, ReadOfAnUnknownIdTriesAllElevenCategories)
{
    EXPECT_LT(freedb.ReadAlbum("", "0000000A").size(), 5);
    server.settle();
    ASSERT_EQ(server.received.size(), 2 + 11 + 1);
    EXPECT_EQ(server.received.at(12), "cddb read reggae 0000000A");
}

TEST_F(FreedbClient, ReadOfACategoryKeepsTheServersGenre)
{
    QStringList lines = JazzEntry;
    lines.insert(3, "DGENRE=Bebop");
    server.replies["cddb read rock 05001E02"] = entryReply("rock", "05001e02", lines);
    EXPECT_EQ(freedb.ReadAlbum("rock", "05001E02").at(2), "Bebop");
    server.settle();
    EXPECT_EQ(server.received, QStringList({Hello, "proto 5", "cddb read rock 05001E02", "quit"}));
}

TEST_F(FreedbClient, EntryCutByAnEmptyLineIsNotUsed)
{
    server.replies["cddb read rock 05001E02"] = "210 rock 05001e02 follows\r\nDTITLE=A / B\r\nTTITLE0=x\r\n\r\n.\r\n";
    EXPECT_TRUE(freedb.ReadAlbum("rock", "05001E02").isEmpty());
}

TEST_F(FreedbClient, TextsThatAreNotUtf8AreReadAsLatin1)
{
    server.replies["cddb read rock 05001E02"] =
        "210 rock 05001e02 follows\r\nDTITLE=Caf\xe9 / \xc3\xa9t\xc3\xa9\r\nTTITLE0=\xc3\xa0\r\nEXTD=\r\n.\r\n";
    const QStringList album = freedb.ReadAlbum("rock", "05001E02");
    ASSERT_EQ(album.size(), 5);
    EXPECT_EQ(album.at(0), QString::fromLatin1("Caf\xe9"));
    EXPECT_EQ(album.at(1), QString::fromLatin1("\xc3\xa9t\xc3\xa9"));
    EXPECT_EQ(album.at(4), QString::fromUtf8("\xc3\xa0"));
}

TEST_F(FreedbClient, ServerThatNeverGreetsGivesAnEmptyResultAfterTheTimeOut)
{
    server.greeting.clear();
    freedb.FTimeout = 300;
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(freedb.QueryAlbums(Args).isEmpty());
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_LT(clock.elapsed(), LongTimeOut / 2);
    EXPECT_TRUE(userInterface.messages.isEmpty());
    server.settle();
    EXPECT_EQ(server.received, QStringList({"quit"}));
}

TEST_F(FreedbClient, RefusedConnectionShowsTheErrorBoxAndSendsNothing)
{
    freedb.FPort = closedPort();
    EXPECT_TRUE(freedb.QueryAlbums(Args).isEmpty());
    EXPECT_TRUE(freedb.ReadAlbum("", "05001E02").isEmpty());
    ASSERT_EQ(userInterface.messages.size(), 2);
    for (const auto& message : userInterface.messages) {
        EXPECT_EQ(message.text, "Could not connect to server.");
        EXPECT_EQ(message.title, "Error");
        EXPECT_EQ(message.icon, ui::Icon::Error);
        EXPECT_EQ(message.buttons, ui::Buttons::Ok);
    }
}

TEST_F(FreedbClient, LineLongerThan64KiBCutsTheConnectionOff)
{
    server.replies[Query] = "211 close matches\r\nrock 0a " + QByteArray(70000, 'x') + "\r\n.\r\n";
    // Waiting for the line's end would take the whole time-out.
    freedb.FTimeout = LongTimeOut;
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(freedb.QueryAlbums(Args).isEmpty());
    EXPECT_LT(clock.elapsed(), LongTimeOut / 2);
    server.settle();
    EXPECT_EQ(server.received, QStringList({Hello, Query}));
}

TEST_F(FreedbClient, LineOf64KiBIsStillRead)
{
    const QByteArray match = "rock 0a " + QByteArray(64 * 1024 - 8, 'x');
    server.replies[Query] = "211 close matches\r\n" + match + "\r\n.\r\n";
    EXPECT_EQ(freedb.QueryAlbums(Args), QStringList{QString::fromLatin1(match)});
}

TEST_F(FreedbClient, EntryOfMoreThan100000LinesIsNotUsed)
{
    QStringList lines = JazzEntry;
    for (int i = 0; i < 100000; ++i)
        lines << "EXTT0=";
    server.replies["cddb read jazz 05001E02"] = entryReply("jazz", "05001e02", lines);
    EXPECT_TRUE(freedb.ReadAlbum("jazz", "05001E02").isEmpty());
    server.settle();
    EXPECT_EQ(server.received, QStringList({Hello, "proto 5", "cddb read jazz 05001E02"}));
}

TEST_F(FreedbClient, ServerClosingInTheMiddleOfAnExchangeRaises)
{
    server.replies[Hello] = "200 Hello\r\n";
    server.closeAfter << Hello;
    // Closing after the hello reply: the query's reply never comes.
    EXPECT_THROW(freedb.QueryAlbums(Args), TFreedbConnectionLost);
}
