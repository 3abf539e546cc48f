#include "LameCommand.h"

#include <QFileInfo>

namespace {

QString modeSwitch(EncodeMode mode)
{
    switch (mode) {
    case EncodeMode::Joint: return QStringLiteral("j");
    case EncodeMode::Dual: return QStringLiteral("d");
    case EncodeMode::Mono: return QStringLiteral("m");
    case EncodeMode::Stereo: break;
    }
    return QStringLiteral("s");
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace

QString outputPath(const QString& input, const QString& outputFolder, const QString& extension)
{
    const QString name = QFileInfo(input).fileName();
    return outputFolder + name.left(qMax(0, name.size() - 4)) + extension;
}

LameCommand encodeCommand(const EncodeOptions& options, const QString& input, const QString& outputFolder)
{
    LameCommand command;
    QStringList& s = command.switches;
    s << QStringLiteral("-b") << (options.constantBitrate ? options.bitrate : options.vbrMinBitrate);
    if (options.highQuality)
        s << QStringLiteral("-h");
    if (!options.constantBitrate)
        s << QStringLiteral("-V") << (options.highQuality ? QStringLiteral("0") : QStringLiteral("4"));
    s << QStringLiteral("-m") << modeSwitch(options.mode);
    if (options.copyright)
        s << QStringLiteral("-c");
    if (!options.original)
        s << QStringLiteral("-o");
    if (options.crc)
        s << QStringLiteral("-p");
    command.input = input;
    command.output = outputPath(input, outputFolder, QStringLiteral(".mp3"));
    return command;
}

LameCommand decodeCommand(const QString& input, const QString& outputFolder)
{
    return {{QStringLiteral("--decode")}, input, outputPath(input, outputFolder, QStringLiteral(".wav"))};
}

QString lameParameters(const LameCommand& command)
{
    QString text;
    for (const QString& s : command.switches)
        text += s + QLatin1Char(' ');
    return text + quoted(command.input) + QLatin1Char(' ') + quoted(command.output);
}

QStringList lameArguments(const LameCommand& command)
{
    return command.switches + QStringList{command.input, command.output};
}
