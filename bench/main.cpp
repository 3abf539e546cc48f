// The benchmark: makes its corpus, measures reading, memory, saving and the file grid, and
// prints one table. Run through `make bench`; `--help` lists the options.

#include "Corpus.h"
#include "Measure.h"
#include "Rows.h"

#include "UnitUtilities.h"
#include "UserInterface.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

namespace {

// Nothing in a benchmark run should ask anything; whatever is said is printed and counted.
class PrintingUserInterface : public ui::UserInterface {
public:
    int messages = 0;

    ui::Answer messageBox(const QString& text, ui::Icon, ui::Buttons, const QString&) override
    {
        ++messages;
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
        return ui::Answer::Ok;
    }
    ui::FileDialogResult openFiles(const ui::FileDialogRequest&) override { return {}; }
    ui::FileDialogResult saveFile(const ui::FileDialogRequest&) override { return {}; }
    std::optional<quint32> chooseColor(quint32) override { return std::nullopt; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override { return std::nullopt; }
};

int option(const QCommandLineParser& parser, const char* name)
{
    return parser.value(QString::fromLatin1(name)).toInt();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", settingsHome.path().toLocal8Bit());
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOptions({
        {"files", "Files in each set of the corpus.", "count", "1000"},
        {"repeat", "Runs of each row.", "count", "5"},
        {"open-files", "Files held open for the memory figure.", "count", "10000"},
        {"grid-rows", "Entries in the file grid.", "count", "100000"},
        {"folder", "Folder for the corpus (default: a temporary folder, removed at the end).", "path"},
    });
    parser.process(app);
    const int files = std::max(option(parser, "files"), 2);
    const int repeats = std::max(option(parser, "repeat"), 1);
    QTemporaryDir temporary;
    const QString folder = parser.isSet("folder") ? parser.value("folder") : temporary.path();

    PrintingUserInterface userInterface;
    ui::setUserInterface(&userInterface);

    std::printf("Corvane benchmark, %s, %s, %d cores\n", qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)),
                qPrintable(QSysInfo::prettyProductName()), QThread::idealThreadCount());
    std::printf("Making the corpus: %d files with a %d KB picture frame, %d with a %d KB one, %d without, in %s\n",
                files, PictureBytes / 1024, files, LargePictureBytes / 1024, files, qPrintable(folder));
    std::fflush(stdout);
    const Corpus corpus = makeCorpus(folder, files);
    warmPageCache(corpus.pictured + corpus.largePictured + corpus.plain);

    ResultTable table;
    table.section(QStringLiteral("Memory"));
    addMemoryRows(table, corpus.pictured, option(parser, "open-files"));

    const bool canDrop = dropFromPageCache(corpus.plain.mid(0, 1));
    const struct {
        const char* what;
        const QStringList& files;
        bool cold;
    } readings[] = {
        {"with a 100 KB picture (warm page cache)", corpus.pictured, false},
        {"with a 1 MB picture (warm page cache)", corpus.largePictured, false},
        {"without a picture (warm page cache)", corpus.plain, false},
        {"with a 100 KB picture (cold: each run after the files' pages were dropped)", corpus.pictured, true},
        {"with a 1 MB picture (cold: each run after the files' pages were dropped)", corpus.largePictured, true},
    };
    for (const auto& reading : readings) {
        if (reading.cold && !canDrop)
            continue;
        table.section(QStringLiteral("Reading %1 files %2").arg(files).arg(QLatin1String(reading.what)));
        if (&reading == &readings[0]) {
            table.note(QStringLiteral("(row 1: open(2), fstat(2), pread(2) of the tag header, the first 4 KB of the tag, the 50014-byte"));
            table.note(QStringLiteral(" window after the tag and the last 128 bytes into one reused buffer, close(2); nothing parsed)"));
        }
        addReadRows(table, reading.files, repeats, reading.cold);
        if (reading.cold)
            warmPageCache(reading.files);
    }
    if (!canDrop)
        table.note(QStringLiteral("(no cold rows: the system would not drop the files' pages from its cache)"));

    // The program pauses 50 ms after each in-place save by design; the pause is not the save's work.
    setDelayScale(0);
    table.section(QStringLiteral("Saving a changed title in place into %1 files with a 100 KB picture").arg(files));
    table.note(QStringLiteral("(each file's tag read, its title changed, saved as ID3v2.3; every row on its own copy of the files;"));
    table.note(QStringLiteral(" the program's 50 ms pause after each save is set to 0)"));
    addSaveRows(table, corpus.pictured, folder + QStringLiteral("/saves"), repeats);

    table.section(QStringLiteral("The file grid with %1 entries (main window offscreen)").arg(option(parser, "grid-rows")));
    addGridRows(table, option(parser, "grid-rows"), repeats);

    table.section(QStringLiteral("Opening 16000 and 64000 files (main window offscreen)"));
    table.note(QStringLiteral("(hard links to the %1 files without a picture; the progress window shown, as for an Open of").arg(files));
    table.note(QStringLiteral(" more than 25 files; every file closed before each run)"));
    addOpenRows(table, corpus.plain, folder + QStringLiteral("/opened"), {16000, 64000}, repeats);

    std::printf("\nEach row ran %d times; min and median are of whole runs, per item is median / items, ratio is\n"
                "median / the median of the section's first row. Every file was read once before timing.\n",
                repeats);
    table.print();
    if (userInterface.messages > 0)
        std::printf("\n%d messages were shown during the run (printed above).\n", userInterface.messages);
    return 0;
}
