#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"
#include "UnitUtilities.h"

#include <QFileInfo>
#include <gtest/gtest.h>

// Inputs the fuzz targets found, kept as they were found, each with the behaviour it broke.

namespace {

QByteArray fromHex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

}  // namespace

// A file that is nothing but a 2.3 tag with 20 bytes of padding. Saving a title adds a frame
// in place, leaving 4 bytes of padding up to the end of the file: too few for a frame header, so
// the read after the save must end the frames there instead of reading past the end.
TEST(FuzzFindings, TagSavedInPlaceUpToTheFilesEndReadsBack)
{
    const QByteArray file = fromHex("49443303000000000078"                            // header, size 120
                                    "544954300000000600000054" "69746c65"            // TIT0
                                    "545045310000000f000001fffe41007200740069007325" "7400"   // TPE1
                                    "434f4d4d0000000d000000656e676000436f6d6d656e74" // COMM
                                    "575858580000000b0000007500687474703a2f2f78"     // WXXX
                                    "54434f4e0000000500000028313729"                 // TCON
                                    "0000000000000000000000000000000000000000");     // padding
    ASSERT_EQ(file.size(), 130);
    ScriptedUserInterface ui;
    setDelayScale(0);
    TempDir dir;
    const QString path = dir.write("tag only.mp3", file);
    TID3v2 tag;
    ReadID3v2(path, tag);
    tag.Title = QStringLiteral("TTTTT");

    ASSERT_TRUE(WriteID3v2(tag, path));
    EXPECT_EQ(QFileInfo(path).size(), 130);
    TID3v2 written;
    EXPECT_NO_THROW(ReadID3v2(path, written));
    EXPECT_EQ(written.Title, QStringLiteral("TTTTT"));
    EXPECT_EQ(written.Frames->size(), 6u);
    EXPECT_TRUE(ui.messages.isEmpty());
    setDelayScale(1);
}
