#pragma once

// The encoder's command line for one input file, without the program path.

#include <QString>
#include <QStringList>

enum class EncodeMode { Stereo, Joint, Dual, Mono };

// The choices of the encode dialog that reach the command line.
struct EncodeOptions {
    bool constantBitrate = true;
    QString bitrate = QStringLiteral("192");
    QString vbrMinBitrate = QStringLiteral("64");
    bool highQuality = true;
    EncodeMode mode = EncodeMode::Stereo;
    bool copyright = false;
    bool original = false;
    bool crc = false;
};

// The switches and the two paths kept apart, so the paths reach the process whole whatever
// characters they hold; the parameter text is only their display form.
struct LameCommand {
    QStringList switches;
    QString input;
    QString output;
};

// outputFolder ends with "/".
LameCommand encodeCommand(const EncodeOptions& options, const QString& input, const QString& outputFolder);
LameCommand decodeCommand(const QString& input, const QString& outputFolder);

// The input's file name without its last four characters, then the new extension (".mp3", ".wav").
QString outputPath(const QString& input, const QString& outputFolder, const QString& extension);

// "-b 192 -h -m s -o \"in\" \"out\"": each switch followed by a blank, then both paths quoted.
QString lameParameters(const LameCommand& command);
// The process's argument list: the switches one by one, then the two paths.
QStringList lameArguments(const LameCommand& command);
