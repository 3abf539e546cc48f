// Writes a small seed corpus for every fuzz target: well-formed inputs of each kind, built with
// the tests' own fixtures, from which the fuzzers mutate their way into damaged ones.
// Usage: SeedCorpus <folder>; each target's seeds go to <folder>/<target name>.

#include "AudioFixtures.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <cstdio>

using namespace fixtures;

namespace {

QList<QByteArray> audioFiles()
{
    const MpegFrameShape layer3;
    MpegFrameShape mpeg2;
    mpeg2.versionID = 2;
    mpeg2.bitrateIndex = 8;
    MpegFrameShape layer2Crc;
    layer2Crc.layerID = 2;
    layer2Crc.crc = true;
    layer2Crc.channelMode = 3;
    ID3v1Fields fields{"Title", "Artist", "Album", "1999", "Comment", 7, 17};

    const QByteArray tag3 = ID3v2TagBuilder(3)
                                .textFrame("TIT2", QStringLiteral("Title"))
                                .textFrame("TPE1", QStringLiteral("Artist"), 1)
                                .commentFrame("eng", QStringLiteral("d"), QStringLiteral("Comment"))
                                .urlFrame(QStringLiteral("u"), QStringLiteral("http://x"))
                                .textFrame("TCON", QStringLiteral("(17)"))
                                .padding(20)
                                .build();
    const QByteArray tag4 = ID3v2TagBuilder(4)
                                .textFrame("TIT2", QStringLiteral("Title"), 3)
                                .textFrame("TDRC", QStringLiteral("2001"), 2)
                                .frame("PRIV", QByteArray("owner\0data", 10), QByteArray("\0\x01", 2))
                                .extendedHeader(syncsafe32(6) + QByteArray("\x01\0", 2))
                                .footer()
                                .build();
    const QByteArray tag2 = ID3v2TagBuilder(2).textFrame("TT2", QStringLiteral("Title")).build();

    QList<QByteArray> files = {
        mpegFrames(layer3, 4),
        tag3 + mpegFrames(layer3, 3),
        tag4 + mpegFrames(mpeg2, 3) + id3v1Block(fields),
        tag2 + mpegFrames(layer2Crc, 3),
        tag3 + xingFrame(layer3, 40) + mpegFrames(layer3, 2),
        vbriFrame(mpeg2, 30) + mpegFrames(mpeg2, 2),
        mpegFrames(layer3, 2) + id3v1Block(fields),
        id3v1Block({"T", "A", "B", "20", "A comment that fills all of it", 0, 255}),
    };
    for (const QByteArray& tag : realWorldTags())
        files.append(tag + mpegFrames(layer3, 2));
    return files;
}

QList<QByteArray> cddbExchanges()
{
    const QByteArray greeting = "201 server ready\r\n200 hello\r\n";
    const QByteArray entry = "210 rock 05001e02 entry follows\r\n# xmcd\r\nDTITLE=Band / Album\r\nDYEAR=1999\r\n"
                             "DGENRE=Rock\r\nTTITLE0=One\r\nTTITLE1=Two\r\nEXTD=\r\n.\r\n";
    return {
        '\0' + greeting + "200 rock 05001e02 Band / Album\r\n",
        '\0' + greeting + "211 close matches\r\nrock 05001e02 Band / Album\r\njazz 05001e03 B / C\r\n.\r\n",
        '\0' + greeting + "202 no match\r\n",
        '\0' + greeting + "403 database entry is corrupt\r\n",
        '\1' + greeting + "201 protocol level 5\r\n" + entry,
        '\2' + greeting + "201 protocol level 5\r\n401 not found\r\n401 not found\r\n" + entry,
    };
}

void write(const QString& folder, const QString& target, const QList<QByteArray>& seeds)
{
    const QString path = folder + '/' + target;
    QDir().mkpath(path);
    for (qsizetype i = 0; i < seeds.size(); ++i) {
        QFile file(path + QStringLiteral("/seed%1").arg(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(seeds.at(i)) != seeds.at(i).size()) {
            std::fprintf(stderr, "Cannot write %s\n", qPrintable(file.fileName()));
            std::exit(1);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QList<QByteArray> audio = audioFiles();
    for (const char* target : {"ID3v2ReaderFuzzer", "ID3v1ReaderFuzzer", "MpegFileFuzzer", "MpegHeaderFuzzer"})
        write(folder, target, audio);
    QList<QByteArray> saves;
    for (const QByteArray& file : audio) {
        saves << char(5) + file;
        saves << char(200) + file;
    }
    write(folder, "ID3v2WriterFuzzer", saves);
    write(folder, "CddbClientFuzzer", cddbExchanges());
    write(folder, "CddbEntryFuzzer",
          {"# xmcd\nDTITLE=Band / Live / Loud\nDYEAR=1999\nDGENRE=Rock\nTTITLE0=One\nTTITLE1=Two\nEXTD=",
           "DTITLE=Solo\nTTITLE0=A\nTTITLE10=K\nTTITLE9=J\nTTITLE0=again"});
    write(folder, "PlaylistReaderFuzzer",
          {'\0' + QByteArray("#EXTM3U\r\n#EXTINF:245,Band - Song\r\na.mp3\r\nsub/b.mp3\r\n../x.mp3\r\n"),
           '\1' + QByteArray("[playlist]\r\nFile1=a.mp3\r\nFile2=sub/b.mp3\r\nFile3= a.mp3\r\nNumberOfEntries=3\r\nVersion=2\r\n")});
    write(folder, "DecodeGenreFuzzer", {"(17)", "17", "(255)Rock", "Rock", "((12)", "(1)(2)", "999999999999"});
    write(folder, "TagGuessFuzzer",
          {"#ARTIST# - #TITLE#\n/music/Band - Song.mp3", "#TRACK#. #ARTIST# - #ALBUM# - #TITLE#\n01. A_B - C - D.mp3",
           "#X##Y#-\nab-cd", "#TITLE\nx"});
    write(folder, "RenameNameFuzzer",
          {"#TRACK# - #ARTIST# - #TITLE#\nBand\nAlbum\nSong: part 1/2\n3\n128\nthe;of\nrdOther\n1\n-\n1",
           "\nBand\nAlbum\nTitle\n12\n192\n\"a b\";c\nrdTrackArtistTitle\n2\n_\n0",
           "\nA*\nB?\nC|\n\n\n\nrdArtistTitleBitrate\n0\n\n1"});
    return 0;
}
