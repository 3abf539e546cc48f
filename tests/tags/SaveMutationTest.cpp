#include "AudioFixtures.h"
#include "PeerReader.h"
#include "SaveOutcome.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"
#include "UnitUtilities.h"

#include <QList>
#include <algorithm>
#include <cstring>
#include <functional>
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

namespace {

// A tag of a shape other programs leave, the frames it holds, where its audio really begins, and
// the same frames in a clean tag, of no doubtful shape.
struct GeneratedFile {
    QByteArray bytes;
    QList<QByteArray> frames;   // id and data
    qint64 audioStart = 0;
    bool block = false;
    QByteArray cleanTag;
    // A picture last before other bytes: as either reading of 2.4 sizes, its end may be those bytes.
    bool doubtful = false;
    std::string shape;          // for the failure messages
};

QByteArray randomBytes(std::mt19937& random, qsizetype count, const QByteArray& alphabet = {})
{
    QByteArray bytes(count, Qt::Uninitialized);
    for (char& c : bytes)
        c = alphabet.isEmpty() ? char(random()) : alphabet[qsizetype(random() % quint32(alphabet.size()))];
    return bytes;
}

// What other programs leave after the frames: nothing, padding of zeros, filler of blanks, high
// bytes or text before zeros, or leftovers of no frame, with or without a chance MPEG header.
QByteArray restAfterFrames(std::mt19937& random, int kind)
{
    const auto upTo = [&random](int most) { return qsizetype(random() % quint32(most)) + 1; };
    QByteArray noFrame;
    for (int c = 1; c < 255; ++c) {
        if (c < '0' || c > 'Z')
            noFrame.append(char(c));
    }
    const QByteArray zeros(upTo(1000) - 1, '\0');
    switch (kind) {
    case 0:
        return {};
    case 1:
        return QByteArray(upTo(2000), '\0');
    case 2:
        return QByteArray(upTo(200), ' ') + zeros;
    case 3:
        return randomBytes(random, upTo(300), QByteArray::fromHex("8081a0c0d0e0f0fe")) + zeros;
    case 4:
        return randomBytes(random, upTo(300), "lorem ipsum dolor, sit amet. ") + zeros;
    default:
        QByteArray bytes = randomBytes(random, upTo(4096) + 4, noFrame);
        if (random() % 2 != 0)
            bytes.replace(qsizetype(random() % quint32(bytes.size() - 3)), 4, QByteArray::fromHex("fffb9064"));
        return bytes;
    }
}

GeneratedFile generatedFile(std::mt19937& random, const QByteArray& encoded)
{
    GeneratedFile file;
    const int version = 3 + int(random() % 2);
    const bool plain = version == 4 && random() % 2 != 0;
    QList<QByteArray> frames = {
        "TIT2" + QByteArray("\0Song", 5),
        "TPE1" + QByteArray("\1", 1) + fixtures::encodedText(QStringLiteral("Band"), 1),
        "TALB" + QByteArray("\0Album", 6),
        "COMM" + QByteArray("\0eng\0Note", 9),
        "COMM" + QByteArray("\0engiTunNORM\0 00000A2B 00000B3C", 31),
        "WXXX" + QByteArray("\0\0http://band.example", 21),
        "PRIV" + QByteArray("owner\0", 6) + randomBytes(random, 40),
    };
    std::shuffle(frames.begin(), frames.end(), random);
    frames.resize(1 + qsizetype(random() % quint32(frames.size())));
    // A picture of 300 bytes to 20 KB anywhere, or none.
    const qsizetype large = random() % 5 != 0 ? qsizetype(random() % quint32(frames.size() + 1)) : -1;
    if (large >= 0)
        frames.insert(large, "APIC" + QByteArray("\0image/jpeg\0\3\0", 14)
                                 + randomBytes(random, 300 + random() % 20000));
    ID3v2TagBuilder builder(version);
    ID3v2TagBuilder clean(version);
    if (plain)
        builder.plainSizes();
    for (const QByteArray& frame : frames) {
        builder.frame(frame.left(4), frame.mid(4));
        clean.frame(frame.left(4), frame.mid(4));
    }
    const int rest = int(random() % 6);
    builder.raw(restAfterFrames(random, rest));
    file.doubtful = version == 4 && large == frames.size() - 1 && rest >= 2;
    file.shape = "2." + std::to_string(version) + (plain ? " plain sizes," : ",") + " picture at "
        + std::to_string(large) + " of " + std::to_string(frames.size()) + ", rest " + std::to_string(rest);

    fixtures::MpegFrameShape stream;
    stream.versionID = random() % 3 == 0 ? 2 : 3;
    stream.layerID = random() % 4 == 0 ? 2 : 1;
    stream.bitrateIndex = 1 + int(random() % 14);
    stream.sampleRateIndex = int(random() % 3);
    file.block = random() % 2 != 0;
    const QByteArray behind = (random() % 2 != 0 ? fixtures::mpegFrames(stream, 12) : encoded)
        + (file.block ? fixtures::id3v1Block({"V1 title", "", "", "", "", 1, 1}) : QByteArray());
    // Some writers' sizes count the first audio frames, or part of one, or everything.
    const int counting = int(random() % 10);
    const qsizetype counted = counting < 6   ? 0
                              : counting < 9 ? 1 + qsizetype(random() % 2000)
                                             : behind.size();
    builder.raw(behind.left(counted));
    const QByteArray tag = builder.build();
    file.bytes = tag + behind.mid(counted);
    file.audioStart = tag.size() - std::min(counted, behind.size());
    file.frames = frames;
    file.cleanTag = clean.build();
    file.shape += ", audio counted " + std::to_string(counted) + " of " + std::to_string(behind.size());
    return file;
}

qint64 tagEndOf(const QByteArray& file)
{
    const auto* size = reinterpret_cast<const uchar*>(file.constData()) + 6;
    return 10 + (qint64(size[0]) << 21 | qint64(size[1]) << 14 | qint64(size[2]) << 7 | size[3]);
}

// What a save left of the file's bytes: every frame's but the title's, and the audio.
QString lostBySave(const GeneratedFile& file, const QString& saved)
{
    const QByteArray now = readAll(saved);
    if (now.mid(tagEndOf(now)) != file.bytes.mid(file.audioStart))
        return QStringLiteral("the save changed the audio");
    for (const QByteArray& frame : file.frames) {
        if (!frame.startsWith("TIT2") && !now.left(tagEndOf(now)).contains(frame.mid(4)))
            return "the save lost bytes of " + frame.left(4);
    }
    return {};
}

// What a removal and an ID3v1 save did: the audio kept, the ID3v1 block found where it is.
QString lostByRemovals(const TempDir& dir, const GeneratedFile& file, int index)
{
    const QString removed = dir.write(QStringLiteral("%1.removed").arg(index), file.bytes);
    TID3v2 tag;
    ReadID3v2(removed, tag);
    if (!RemoveID3v2(removed, *tag.ReadState) || readAll(removed) != file.bytes.mid(file.audioStart))
        return QStringLiteral("the removal did not keep the audio");
    TID3v1 block;
    ClearID3v1(block);
    std::memcpy(block.Identifier, "TAG", 3);
    const QString v1 = dir.write(QStringLiteral("%1.v1").arg(index), file.bytes);
    const QByteArray blockBytes(reinterpret_cast<const char*>(&block), sizeof block);
    const QByteArray beforeBlock = file.bytes.left(file.bytes.size() - (file.block ? 128 : 0));
    if (!WriteID3v1(block, v1) || readAll(v1) != beforeBlock + blockBytes)
        return QStringLiteral("the ID3v1 save did not replace the block, or append one");
    return {};
}

}  // namespace

// Tags of the shapes other programs leave: versions 2.3 and 2.4, 2.4 sizes syncsafe or plain, a
// picture anywhere, padding of zeros, blanks, high bytes or text, leftovers, audio the tag counts
// or not, an ID3v1 block or none. Each is saved with a new title, has its tag removed and an ID3v1
// block saved; every frame's bytes and the audio stay. Another program's reader finds every frame
// but the title as it finds it in the clean tag, or else as it found it before.
TEST(SaveMutation, GeneratedTagsOfEveryShapeKeepEveryFrameAndTheAudio)
{
    setDelayScale(0);
    ScriptedUserInterface ui;
    TempDir dir;
    std::mt19937 random(20261209);
    const QByteArray encoded =
        readAll(fixtures::encodeWithLame(dir, QStringLiteral("lame.mp3"), 0.3, {QStringLiteral("-b"), QStringLiteral("64")}));
    QStringList judged;
    std::vector<std::string> shapes;
    for (int i = 0; i < 300; ++i) {
        const GeneratedFile file = generatedFile(random, encoded);
        const QString after = dir.write(QStringLiteral("%1.after").arg(i), file.bytes);
        TMpegFile read;
        read.ReadFromFile(after);
        EXPECT_EQ(read.HasID3v1, file.block) << file.shape;
        TID3v2 tag = read.ID3v2;
        tag.Title = random() % 2 != 0 ? QStringLiteral("New") : QString(300, u'L');
        const QString removals = lostByRemovals(dir, file, i);
        EXPECT_TRUE(removals.isEmpty()) << removals.toStdString() << " in " << file.shape;
        // A save is refused only where nothing tells which bytes are the frames'.
        if (!WriteID3v2(tag, after)) {
            EXPECT_TRUE(file.doubtful) << ui.texts().join(' ').toStdString() << " " << file.shape;
            EXPECT_EQ(readAll(after), file.bytes) << file.shape;
            continue;
        }
        const QString lost = lostBySave(file, after);
        EXPECT_TRUE(lost.isEmpty()) << lost.toStdString() << " in " << file.shape;
        judged << dir.write(QStringLiteral("%1.before").arg(i), file.bytes)
               << dir.write(QStringLiteral("%1.clean").arg(i), file.cleanTag) << after;
        shapes.push_back(file.shape);
    }
    setDelayScale(1);

    const QList<QStringList> frames = framesByPeer(judged);
    ASSERT_EQ(frames.size(), judged.size()) << frames.value(0).join('\n').toStdString();
    for (qsizetype i = 0; i < frames.size(); i += 3) {
        const QStringList saved = withoutFrames(frames[i + 2], {"TIT2"});
        const QStringList clean = withoutFrames(frames[i + 1], {"TIT2"});
        EXPECT_TRUE(saved == clean || saved == withoutFrames(frames[i], {"TIT2"}))
            << shapes[size_t(i / 3)] << "\n" << saved.join(' ').toStdString() << "\n" << clean.join(' ').toStdString();
    }
}
