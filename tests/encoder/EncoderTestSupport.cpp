#include "EncoderTestSupport.h"

#include "ProgramFolder.h"
#include "UnitProgressForm.h"

#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

void appendLE32(QByteArray& bytes, quint32 value)
{
    char b[4];
    qToLittleEndian(value, b);
    bytes.append(b, 4);
}

void appendLE16(QByteArray& bytes, quint16 value)
{
    char b[2];
    qToLittleEndian(value, b);
    bytes.append(b, 2);
}

}  // namespace

QByteArray sineWav(int frames, int sampleRate)
{
    const quint32 dataSize = static_cast<quint32>(frames) * 4;
    QByteArray wav("RIFF");
    appendLE32(wav, 36 + dataSize);
    wav.append("WAVEfmt ");
    appendLE32(wav, 16);
    appendLE16(wav, 1);   // PCM
    appendLE16(wav, 2);
    appendLE32(wav, static_cast<quint32>(sampleRate));
    appendLE32(wav, static_cast<quint32>(sampleRate) * 4);
    appendLE16(wav, 4);
    appendLE16(wav, 16);
    wav.append("data");
    appendLE32(wav, dataSize);
    for (int i = 0; i < frames; ++i) {
        const auto sample = static_cast<qint16>(std::lround(8000 * std::sin(2 * std::numbers::pi * 440 * i / sampleRate)));
        appendLE16(wav, static_cast<quint16>(sample));
        appendLE16(wav, static_cast<quint16>(sample));
    }
    return wav;
}

qint64 wavFrames(const QByteArray& wav)
{
    // Chunks follow the 12-byte RIFF header, each an id, a little-endian size and the body.
    qsizetype pos = 12;
    while (pos + 8 <= wav.size()) {
        const quint32 size = qFromLittleEndian<quint32>(wav.constData() + pos + 4);
        if (wav.mid(pos, 4) == "data")
            return size / 4;
        pos += 8 + size + (size & 1);
    }
    return -1;
}

ProgramFolderForTest::ProgramFolderForTest(Encoder encoder)
{
    if (encoder == Encoder::Lame) {
        const QString lame = QStandardPaths::findExecutable(QStringLiteral("lame"));
        EXPECT_FALSE(lame.isEmpty()) << "the system's lame is needed";
        EXPECT_TRUE(QFile::link(lame, dir.filePath(QStringLiteral("lame"))));
    }
    setProgramFolder(dir.path());
}

ProgramFolderForTest::~ProgramFolderForTest()
{
    setProgramFolder(QString());
}

void writeSlowEncoder(const TempDir& programDir, const QString& log, int seconds)
{
    const QString path = programDir.write(
        "lame", QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\nsleep %2\nfor output; do :; done\necho finished > \"$output\"\n")
                    .arg(log)
                    .arg(seconds)
                    .toUtf8());
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
}

TFormProgress* shownProgressWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* progress = qobject_cast<TFormProgress*>(window); progress && progress->isVisible())
            return progress;
    return nullptr;
}
