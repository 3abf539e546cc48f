#include "TestModules.h"

#include "TempDir.h"

#include <QProcess>
#include <QtEndian>
#include <cmath>
#include <dlfcn.h>
#include <gtest/gtest.h>

FakeModule::FakeModule()
{
    library = dlopen(moduleIn(fakeModuleFolder()).toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    auto controlOf = reinterpret_cast<FakeModuleState* (*)()>(dlsym(library, "FakeModuleControl"));
    control = controlOf();
    *control = FakeModuleState();
}

FakeModule::~FakeModule()
{
    dlclose(library);
}

QByteArray makeWav(int frames, int rate, int channels)
{
    QByteArray data(frames * channels * 2, '\0');
    for (int i = 0; i < frames; ++i) {
        const auto sample = static_cast<qint16>(8000 * std::sin(2 * M_PI * 440.0 * i / rate));
        for (int c = 0; c < channels; ++c)
            qToLittleEndian(sample, data.data() + (i * channels + c) * 2);
    }
    QByteArray wav("RIFF");
    wav.append(4, '\0');
    wav.append("WAVEfmt ");
    QByteArray format(20, '\0');
    qToLittleEndian<quint32>(16, format.data());
    qToLittleEndian<quint16>(1, format.data() + 4);
    qToLittleEndian<quint16>(quint16(channels), format.data() + 6);
    qToLittleEndian<quint32>(quint32(rate), format.data() + 8);
    qToLittleEndian<quint32>(quint32(rate * channels * 2), format.data() + 12);
    qToLittleEndian<quint16>(quint16(channels * 2), format.data() + 16);
    qToLittleEndian<quint16>(16, format.data() + 18);
    wav.append(format);
    wav.append("data");
    QByteArray size(4, '\0');
    qToLittleEndian<quint32>(quint32(data.size()), size.data());
    wav.append(size).append(data);
    qToLittleEndian<quint32>(quint32(wav.size() - 8), wav.data() + 4);
    return wav;
}

QString encodeWithLame(const TempDir& dir, const QString& name, const QByteArray& wav)
{
    const QString source = dir.write(name + QStringLiteral(".wav"), wav);
    const QString target = dir.filePath(name);
    QProcess lame;
    lame.start(QStringLiteral("lame"), {QStringLiteral("--quiet"), source, target});
    EXPECT_TRUE(lame.waitForFinished(30000));
    EXPECT_EQ(lame.exitCode(), 0);
    return target;
}

WavData readWav(const QByteArray& file)
{
    WavData wav;
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return wav;
    qsizetype at = 12;
    while (at + 8 <= file.size()) {
        const QByteArray id = file.mid(at, 4);
        const auto size = qFromLittleEndian<quint32>(file.constData() + at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt " && body + 16 <= file.size()) {
            wav.channels = qFromLittleEndian<quint16>(file.constData() + body + 2);
            wav.rate = int(qFromLittleEndian<quint32>(file.constData() + body + 4));
            wav.bits = qFromLittleEndian<quint16>(file.constData() + body + 14);
        } else if (id == "data") {
            wav.declaredBytes = size;
            wav.samples = file.mid(body);
            return wav;
        }
        at = body + size + (size & 1);
    }
    return wav;
}
