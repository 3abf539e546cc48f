#include "EncoderRun.h"
#include "EncoderTestSupport.h"
#include "ScriptedUserInterface.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

TEST(EncoderRun, AFileWhoseWorkFailsIsReportedAndTheNextFollows)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::Lame);
    const TempDir files;
    const QString broken = files.write("broken.wav", {});
    const QString good = files.write("good.wav", sineWav(4410));
    QWidget owner;

    runLame(&owner, {broken, good}, {"Encoding", "encode"}, [&](const QString& input) {
        if (input == broken)
            throw std::runtime_error("no command for this file");
        return encodeCommand(EncodeOptions(), input, files.path() + "/");
    });

    EXPECT_EQ(script.texts(), QStringList({"Cannot encode 'broken.wav'."}));
    EXPECT_EQ(script.messages[0].icon, ui::Icon::Error);
    EXPECT_TRUE(QFileInfo(files.filePath("good.mp3")).size() > 0);
}

TEST(EncoderRun, FilesRunOneAfterAnotherWithAPauseAfterEach)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::None);
    const QString log = program.dir.filePath("runs.log");
    const QString encoder = program.dir.write(
        "lame", QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\nsleep 0.2\necho end >> '%1'\n").arg(log).toUtf8());
    QFile::setPermissions(encoder, QFile::permissions(encoder) | QFile::ExeOwner);
    QWidget owner;

    QElapsedTimer clock;
    clock.start();
    runLame(&owner, {"/in/a.wav", "/in/b.wav", "/in/c.wav"}, {"Encoding", "encode"},
            [](const QString& input) { return encodeCommand(EncodeOptions(), input, "/out/"); });

    // Three runs of 200 ms and three pauses of 100 ms.
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_EQ(QString::fromUtf8(readAll(log)).split('\n', Qt::SkipEmptyParts),
              QStringList({"-b 192 -h -m s -o /in/a.wav /out/a.mp3", "end", "-b 192 -h -m s -o /in/b.wav /out/b.mp3",
                           "end", "-b 192 -h -m s -o /in/c.wav /out/c.mp3", "end"}));
    EXPECT_TRUE(script.messages.isEmpty());
}
