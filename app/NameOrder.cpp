#include "NameOrder.h"

#include <algorithm>

QCollator nameOrder()
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

void sortNames(QStringList& names)
{
    const QCollator collator = nameOrder();
    std::stable_sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
}
