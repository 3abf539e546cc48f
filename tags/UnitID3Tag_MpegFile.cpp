#include "UnitID3Tag_Readers.h"

#include <cmath>

namespace {

quint32 samplesPerFrame(const TMpegHeader& header)
{
    if (header.LayerID == 3)
        return 384;
    if (header.LayerID == 1 && header.VersionID != 3)
        return 576;
    return 1152;
}

// Round to nearest, ties to the even neighbour.
double roundHalfEven(double value)
{
    return std::nearbyint(value);
}

}  // namespace

TMpegFile::TMpegFile()
{
    ClearID3v1(ID3v1);
}

bool TMpegFile::ReadFromFile(const QString& fileName)
{
    if (fileName.isEmpty())
        return false;
    FileName = fileName;
    ReadFile file(fileName);
    if (!file.isOpen()) {
        // The tag reader and the header scan each report the file; its length cannot be taken.
        ID3v1Kind = NoID3v1;
        HasID3v1 = false;
        ID3v2 = TID3v2();
        reportID3v2FileNotOpened(fileName);
        IsVBR = false;
        reportMpegHeaderFileNotOpened();
        throw TagFileError("Cannot open '" + fileNameForMessage(fileName).toStdString() + "'");
    }
    return readMpegFileFrom(file, *this);
}

bool readMpegFileFrom(ReadFile& file, TMpegFile& mpeg)
{
    const qint64 length = file.length();
    TID3v2 read;
    // The tag's last read reads on through the window behind it.
    FileBytes bytes = readID3v2From(file, read, VbrWindowRead);
    mpeg.ID3v2 = std::move(read);
    const TID3v2& tag = mpeg.ID3v2;
    if (tag.Present)
        mpeg.HasID3v2 = true;
    readID3v1From(file, id3v2BytesEnd(tag), mpeg.ID3v1Kind, mpeg.ID3v1);
    mpeg.HasID3v1 = mpeg.ID3v1Kind != NoID3v1;

    // One read serves the VBR search, which starts right after the tag's data, and the start of
    // the header scan, which starts after the whole tag. Audio the tag counts holds both headers.
    const qint64 vbrOffset = tag.AudioInTag > 0 ? tag.AudioInTag : qint64(tag.TagSize) + TagHeaderSize;
    const qint64 scanStart = audioStartAfter(tag);
    const qint64 readStart = std::min(vbrOffset, scanStart);
    const qint64 readEnd = std::min(vbrOffset + VbrWindowRead, length);
    if (bytes.at > readStart || bytes.at + bytes.bytes.size() < readEnd)
        bytes = {file.readAt(readStart, vbrOffset - readStart + VbrWindowRead), readStart};
    const QByteArrayView window = QByteArrayView(bytes.bytes).sliced(std::min<qsizetype>(vbrOffset - bytes.at, bytes.bytes.size()));
    const qint32 frames = vbrOffset <= length - VbrWindowSize ? findVbrFrameCountIn(window) : -1;
    mpeg.IsVBR = frames >= 0;
    findMpegHeaderFrom(file, scanStart, mpeg.Header, bytes.bytes, bytes.at);

    const qint64 audioSize = length - (mpeg.HasID3v1 ? qint64(sizeof(TID3v1)) : 0) - (mpeg.HasID3v2 ? vbrOffset : 0);
    const TMpegHeader& header = mpeg.Header;

    if (!mpeg.IsVBR) {
        mpeg.Bitrate = MpegBitrates[header.VersionID][header.LayerID][header.BitrateIndex];
        const qint64 bytesPerSecond = qint64(mpeg.Bitrate) * 1000 / 8;
        if (bytesPerSecond <= 0)
            return false;
        mpeg.Duration = qint32(audioSize / bytesPerSecond);
        return true;
    }
    if (frames == 0) {
        mpeg.Bitrate = 0;
        mpeg.Duration = 0;
        return true;
    }
    const double averageFrameLength = double(audioSize) / frames;
    const double sampleRate = MpegSampleRates[header.VersionID][header.SampleRateIndex];
    // A frame of n samples at rate r lasts n / r seconds: its bits over that time give the rate.
    const double bitrate = roundHalfEven(sampleRate * averageFrameLength / (samplesPerFrame(header) * 125.0));
    if (bitrate == 0)
        return false;
    mpeg.Bitrate = quint32(bitrate);
    mpeg.Duration = qint32(double(audioSize) * 8 / 1000 / mpeg.Bitrate);
    return true;
}
