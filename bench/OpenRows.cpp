#include "Measure.h"
#include "Rows.h"

#include "Registry.h"
#include "UnitMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

// Names for `count` files made as hard links to `files` in turn: as many files as wanted without
// their disk space, each read from the page cache.
QStringList linkedFiles(const QStringList& files, const QString& folder, int count)
{
    QDir().mkpath(folder);
    QStringList links;
    for (int i = 0; i < count; ++i) {
        const QString link = folder + QStringLiteral("/%1.mp3").arg(i, 6, 10, QLatin1Char('0'));
        if (!QFile::exists(link))
            ::link(QFile::encodeName(files[i % files.size()]).constData(), QFile::encodeName(link).constData());
        links.append(link);
    }
    return links;
}

}  // namespace

void addOpenRows(ResultTable& table, const QStringList& files, const QString& folder, const QList<int>& counts,
                 int repeats)
{
    const QStringList links = linkedFiles(files, folder, *std::max_element(counts.begin(), counts.end()));
    Registry().writeBool(QStringLiteral("Option Load Files Startup"), false);
    TFormMain form;
    form.show();
    QCoreApplication::processEvents();
    std::vector<std::function<void()>> openings;
    for (const int count : counts)
        openings.push_back([&form, paths = links.mid(0, count)] { form.OpenFiles(paths, true); });
    const auto runs = timeRunsInTurn(repeats, openings, [&form] { form.miCloseAllClick(); });
    for (qsizetype i = 0; i < counts.size(); ++i)
        table.row(QStringLiteral("6 OpenFiles, %1 files").arg(counts[i]), runs[size_t(i)], counts[i], QStringLiteral("file"));
}
