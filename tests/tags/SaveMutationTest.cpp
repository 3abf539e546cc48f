#include "AudioFixtures.h"
#include "PeerReader.h"
#include "SaveOutcome.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitUtilities.h"

#include <QList>
#include <gtest/gtest.h>
#include <random>

using fixtures::ID3v2TagBuilder;

// Real tagged files, damaged at random as downloads and other programs damage them: bytes
// changed (most in the tag, where they matter), the file cut short, junk added at its end. Each
// variant is read, given a new title and saved, then read and stripped of its tag; every outcome
// must keep the user's bytes. Another program's reader then finds every frame but the title of
// each saved variant as it was before the save.

namespace {

QList<QByteArray> taggedFiles(const TempDir& dir)
{
    const QByteArray audio = fixtures::mpegFrames({}, 6);
    const QByteArray tag3 = ID3v2TagBuilder(3)
                                .textFrame("TIT2", QStringLiteral("Title"))
                                .textFrame("TPE1", QStringLiteral("Artist"), 1)
                                .commentFrame("eng", QStringLiteral("d"), QStringLiteral("Comment"))
                                .frame("APIC", QByteArray(600, '\x89'))
                                .padding(40)
                                .build();
    const QByteArray tag4 = ID3v2TagBuilder(4)
                                .textFrame("TIT2", QStringLiteral("Title"), 3)
                                .frame("PRIV", QByteArray("owner\0data", 10))
                                .extendedHeader(fixtures::syncsafe32(6) + QByteArray("\x01\0", 2))
                                .footer()
                                .build();
    const QString encoded = fixtures::encodeWithLame(dir, QStringLiteral("lame.mp3"), 0.3, {QStringLiteral("-b"), QStringLiteral("64")});
    QFile file(encoded);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("lame gave no file");
    QList<QByteArray> files = {tag3 + audio, tag4 + audio + fixtures::id3v1Block({"Title", "Artist", "Album", "1999", "Comment", 7, 17}),
                               tag3 + file.readAll()};
    for (const QByteArray& tag : fixtures::realWorldTags())
        files.append(tag + audio);
    return files;
}

// One random damage of `bytes`.
QByteArray mutated(const QByteArray& bytes, std::mt19937& random)
{
    const auto below = [&random](qsizetype bound) { return qsizetype(random() % quint32(std::max<qsizetype>(bound, 1))); };
    QByteArray variant = bytes;
    switch (random() % 4) {
    case 0:   // the header: version, flags, size
        variant[3 + below(7)] = char(random());
        break;
    case 1:   // bytes of the tag and the start of the audio
        for (int n = 1 + int(below(3)); n > 0; --n)
            variant[below(std::min<qsizetype>(variant.size(), 1000))] = char(random());
        break;
    case 2:
        variant.truncate(below(variant.size()));
        break;
    default:
        for (qsizetype n = 1 + below(300); n > 0; --n)
            variant.append(char(random()));
    }
    return variant;
}

}  // namespace

TEST(SaveMutation, EverySaveAndRemovalOfADamagedFileKeepsTheUsersBytes)
{
    setDelayScale(0);
    ScriptedUserInterface ui;
    TempDir dir;
    const QString path = dir.filePath(QStringLiteral("song.mp3"));
    std::mt19937 random(20261208);
    int variants = 0;
    QStringList beforeAndAfter;
    for (const QByteArray& original : taggedFiles(dir)) {
        for (int i = 0; i < 100; ++i, ++variants) {
            const QByteArray variant = mutated(original, random);
            const QString title = (random() % 2) != 0 ? QStringLiteral("New") : QString(300, u'L');
            QByteArray saved;
            const QString failure = unsoundSaveOrRemoval(path, variant, title, &saved);
            ASSERT_TRUE(failure.isEmpty()) << failure.toStdString() << " in variant " << variants << ": "
                                           << variant.left(64).toHex().constData();
            ui.messages.clear();
            if (!saved.isEmpty())
                beforeAndAfter << dir.write(QStringLiteral("%1.before").arg(variants), variant)
                               << dir.write(QStringLiteral("%1.after").arg(variants), saved);
        }
    }
    setDelayScale(1);

    const QList<QStringList> frames = framesByPeer(beforeAndAfter);
    ASSERT_EQ(frames.size(), beforeAndAfter.size()) << frames.value(0).join('\n').toStdString();
    for (qsizetype i = 0; i < frames.size(); i += 2) {
        // A damaged file the peer cannot read at all has nothing to compare.
        if (frames[i].value(0).startsWith(QLatin1String("unreadable")))
            continue;
        EXPECT_EQ(withoutFrames(frames[i + 1], {"TIT2"}), withoutFrames(frames[i], {"TIT2"})) << beforeAndAfter[i].toStdString();
    }
}
