#include "GridText.h"

#include "MainSettings.h"
#include "TagFieldTexts.h"
#include "UnitID3Tag.h"

#include <QApplication>
#include <QFileInfo>
#include <QPalette>
#include <cmath>

namespace {

QString id3v1Cell(const TMpegFile& file, int column)
{
    const TID3v1& block = file.ID3v1;
    switch (column) {
    case 4: return id3v1FieldText(block.Title, 30);
    case 5: return id3v1FieldText(block.Artist, 30);
    case 6: return id3v1FieldText(block.Album, 30);
    case 7: return id3v1FieldText(block.Year, 4);
    case 8: return file.HasID3v1 && block.track() >= 1 && block.track() <= 99 ? QString::number(block.track()) : QString();
    case 9: return file.HasID3v1 ? id3v1GenreName(block.Genre) : QString();
    case 10: return id3v1FieldText(block.Comment, 29);
    default: return {};
    }
}

QString id3v2Cell(const TID3v2& tag, int column)
{
    switch (column) {
    case 4: return tag.Title;
    case 5: return tag.Artist;
    case 6: return tag.Album;
    case 7: return tag.Year;
    case 8: return tag.Track;
    case 9: return DecodeGenre(tag.Genre);
    case 10: return tag.Comment;
    default: return {};
    }
}

}  // namespace

QString gridCellText(const TMpegFile& file, int column, TagPage page)
{
    switch (column) {
    case -1:
    case 0:
        return file.FileName;
    case 1:
        if (file.ID3v1Kind == ID3v1_0)
            return QStringLiteral("1.0");
        return file.ID3v1Kind == ID3v1_1 ? QStringLiteral("1.1") : QString();
    case 2:
        if (file.ID3v2.MajorVersion >= 2 && file.ID3v2.MajorVersion <= 4)
            return QStringLiteral("2.%1").arg(file.ID3v2.MajorVersion);
        return {};
    case 3:
        return QFileInfo(file.FileName).fileName();
    default:
        return page == TagPage::V1 ? id3v1Cell(file, column) : id3v2Cell(file.ID3v2, column);
    }
}

QString trackSortKey(const QString& track)
{
    const bool shortNumber = track.size() == 1 || (track.size() > 1 && track.at(1) == QLatin1Char('/'));
    if (shortNumber && track.at(0) >= QLatin1Char('0') && track.at(0) <= QLatin1Char('9'))
        return QLatin1Char('0') + track;
    return track;
}

QColor gridColor(qint32 setting)
{
    if (setting == SystemWindowColor)
        return QApplication::palette().color(QPalette::Base);
    return QColor::fromRgb(static_cast<QRgb>(setting));
}

QColor gridTextColor(const QColor& background)
{
    // Relative luminance of the sRGB screen, and the contrast ratio of black and of white against it.
    const auto linear = [](float c) { return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f); };
    const float luminance = 0.2126f * linear(background.redF()) + 0.7152f * linear(background.greenF())
                            + 0.0722f * linear(background.blueF());
    const float againstBlack = (luminance + 0.05f) / 0.05f;
    const float againstWhite = 1.05f / (luminance + 0.05f);
    return againstBlack >= againstWhite ? QColor(Qt::black) : QColor(Qt::white);
}

qint32 pickedGridColor(quint32 rgba)
{
    return static_cast<qint32>(rgba & 0x00FFFFFFu);
}
