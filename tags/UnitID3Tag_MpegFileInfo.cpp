#include "UnitID3Tag_Readers.h"

#include <QFileInfo>
#include <cmath>

namespace {

QString yesNo(bool value)
{
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

}  // namespace

void GetMpegFileInfo(const QString& fileName, TMpegFileInfo& info)
{
    info.Valid = false;
    if (!QFileInfo(fileName).isFile())
        return;
    ReadFile file(fileName);
    if (!file.isOpen())
        throw TagFileError("Cannot open '" + fileNameForMessage(fileName).toStdString() + "'");
    const qint64 length = file.length();
    info.FileSize = QString::number(qint64(std::nearbyint(double(length) / 1000))) + " kb";

    TMpegFile mpeg;
    mpeg.FileName = fileName;
    if (!readMpegFileFrom(file, mpeg))
        return;

    static const char* const channelModes[] = {"Stereo", "Joint St.", "Dual St.", "Mono"};
    static const char* const versions[] = {"2.5", "Reserved", "2", "1"};
    static const char* const layers[] = {"Reserved", "III", "II", "I"};
    const TMpegHeader& header = mpeg.Header;
    info.Duration = QStringLiteral("%1:%2").arg(mpeg.Duration / 60).arg(mpeg.Duration % 60, 2, 10, QLatin1Char('0'));
    info.VBR = yesNo(mpeg.IsVBR);
    info.ChannelMode = QString::fromLatin1(channelModes[header.ChannelMode & 3]);
    info.SampleRate = QString::number(MpegSampleRates[header.VersionID][header.SampleRateIndex]);
    info.Bitrate = QString::number(mpeg.Bitrate);
    info.Version = QString::fromLatin1(versions[header.VersionID & 3]);
    info.Layer = QString::fromLatin1(layers[header.LayerID & 3]);
    info.Copyright = yesNo(header.Copyright == 1);
    info.CRC = yesNo(header.ProtectionBit == 0);
    info.Original = yesNo(header.Original == 1);
    info.Valid = true;
}
