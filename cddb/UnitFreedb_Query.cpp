#include "UnitFreedb.h"

// The disc id comes from whole-second lengths as if the files were the tracks of one disc, so
// every frame offset is a whole number of seconds and the first track starts after the 2-second
// lead-in. The digits are upper-case and the last field is the playing time without the lead-in.
QString TFreedb::BuildQuery(const QList<qint32>& Lengths)
{
    QStringList fields;
    fields << QString() << QString::number(Lengths.size());
    qint64 checksum = 0;
    qint64 total = 0;
    for (const qint32 length : Lengths) {
        const qint64 start = 2 + total;
        fields << QString::number(start * 75);
        checksum += DigitSum(static_cast<qint32>(start));
        total += length;
    }
    fields << QString::number(total);

    // The parts overlap when the count exceeds a byte; they are combined without masking.
    const quint32 discId = (static_cast<quint32>(checksum % 255) << 24) | (static_cast<quint32>(total) << 8)
        | static_cast<quint32>(Lengths.size());
    fields[0] = QString::number(discId, 16).rightJustified(8, QLatin1Char('0')).toUpper();
    return fields.join(QLatin1Char(' '));
}

qint32 TFreedb::DigitSum(qint32 Value)
{
    qint32 sum = 0;
    while (Value > 0) {
        sum += Value % 10;
        Value /= 10;
    }
    return sum;
}
