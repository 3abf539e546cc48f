#include "FreedbDialogFixture.h"

#include "AudioFixtures.h"

#include <QApplication>

void FreedbDialog::openLengths(const QList<qint32>& lengths)
{
    for (const qint32 length : lengths) {
        auto file = std::make_unique<TMpegFile>();
        file->FileName = dir.filePath(QStringLiteral("track%1.mp3").arg(files.size() + 1));
        file->Duration = length;
        files.push_back(std::move(file));
    }
}

void FreedbDialog::openFiles(const QList<QByteArray>& contents)
{
    for (const QByteArray& bytes : contents) {
        auto file = std::make_unique<TMpegFile>();
        file->ReadFromFile(dir.write(QStringLiteral("file%1.mp3").arg(files.size() + 1, 2, 10, QLatin1Char('0')), bytes));
        files.push_back(std::move(file));
    }
}

TFormFreedb& FreedbDialog::showForm(const QString& portSetting)
{
    TFreedbHost host;
    host.FreedbServer = QStringLiteral("127.0.0.1");
    host.FreedbPort = portSetting.isNull() ? QString::number(server.port()) : portSetting;
    host.OptionLeadingZero = leadingZero;
    host.OptionAddTotalTracks = addTotalTracks;
    for (const auto& file : files)
        host.Files.push_back(*file);
    host.NewProgress = [this] { return std::make_unique<RecordingProgress>(progress); };
    host.StopPlayerOf = [this](const QString& name) { stoppedFor << name; };
    host.ReloadAllFiles = [this] { ++reloads; };
    form = std::make_unique<TFormFreedb>(std::move(host));
    form->show();
    return *form;
}

QString FreedbDialog::queryLine() const
{
    QList<qint32> lengths;
    for (const auto& file : files)
        lengths << file->Duration;
    return QStringLiteral("cddb query ") + TFreedb::BuildQuery(lengths);
}

void FreedbDialog::lookUpTitles(const QStringList& titles)
{
    server.replies[queryLine()] = "200 rock 0a0b0c0d Band / Record\r\n";
    QStringList entry{"# xmcd", "DISCID=0a0b0c0d", "DTITLE=Band / Record", "DYEAR=2001", "DGENRE=Rock"};
    for (int n = 0; n < titles.size(); ++n)
        entry << QStringLiteral("TTITLE%1=%2").arg(n).arg(titles.at(n));
    entry << "EXTD=";
    server.replies["cddb read rock 0a0b0c0d"] = entryReply("rock", "0a0b0c0d", entry);
    form->btnQueryClick();
}

void FreedbDialog::onNextModal(std::function<void(QWidget*)> action)
{
    modalWatch = std::make_unique<QTimer>();
    modalWatch->setInterval(10);
    QObject::connect(modalWatch.get(), &QTimer::timeout, [this, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modalWatch->stop();
            modalsSeen << modal;
            action(modal);
        }
    });
    modalWatch->start();
}

QByteArray audioFile(const QByteArray& id3v2, const QByteArray& id3v1)
{
    return id3v2 + fixtures::mpegFrames(fixtures::MpegFrameShape(), 8) + id3v1;
}

QStringList columnOf(const TFormFreedb& form, int column)
{
    QStringList cells;
    for (int row = 1; row < form.RowCount(); ++row)
        cells << form.Cell(column, row);
    return cells;
}
