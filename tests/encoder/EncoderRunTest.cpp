#include "EncoderRun.h"
#include "EncoderTestSupport.h"
#include "QStringPrinter.h"
#include "ScriptedUserInterface.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>
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
        "lame", QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\nsleep 0.2\nfor out; do :; done\necho x > \"$out\"\necho end >> '%1'\n")
                    .arg(log)
                    .toUtf8());
    QFile::setPermissions(encoder, QFile::permissions(encoder) | QFile::ExeOwner);
    const TempDir out;
    QWidget owner;

    QElapsedTimer clock;
    clock.start();
    runLame(&owner, {"/in/a.wav", "/in/b.wav", "/in/c.wav"}, {"Encoding", "encode"},
            [&](const QString& input) { return encodeCommand(EncodeOptions(), input, out.path() + "/"); });

    // Three runs of 200 ms and three pauses of 100 ms.
    EXPECT_GE(clock.elapsed(), 900);
    const QString prefix = "-b 192 -h -m s -o /in/";
    EXPECT_EQ(QString::fromUtf8(readAll(log)).split('\n', Qt::SkipEmptyParts),
              QStringList({prefix + "a.wav " + out.filePath("a.mp3.temp"), "end", prefix + "b.wav " + out.filePath("b.mp3.temp"),
                           "end", prefix + "c.wav " + out.filePath("c.mp3.temp"), "end"}));
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST(EncoderRun, FailedRunsAndTakenOutputNamesAreToldAndLeaveNoOtherFile)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::None);
    const QString encoder = program.dir.write(
        "lame", QStringLiteral("#!/bin/sh\nfor output; do :; done\ncase \"$output\" in\n"
                               "*/part.wav.temp) echo partial > \"$output\"; exit 1;;\n"
                               "*/none.wav.temp) exit 0;;\n"
                               "*/empty.wav.temp) : > \"$output\"; exit 0;;\n"
                               "*/hollow.wav.temp) cp '%1' \"$output\"; exit 0;;\n"
                               "*/appears.wav.temp) echo mine > \"${output%.temp}\";;\n"
                               "*/spoilt.wav.temp) echo mine > \"${output%.temp}\"; exit 1;;\n"
                               "esac\necho finished > \"$output\"\n")
                    .arg(program.dir.write("hollow.wav", sineWav(0)))
                    .toUtf8());
    QFile::setPermissions(encoder, QFile::permissions(encoder) | QFile::ExeOwner);
    const TempDir files;
    files.write("taken.wav", "the user's own");
    files.write("busy.wav.temp", "the user's own");
    QFile::link(files.filePath("nowhere"), files.filePath("link.wav"));
    QWidget owner;

    runLame(&owner, {"/in/part.mp3", "/in/taken.mp3", "/in/none.mp3", "/in/link.mp3", "/in/good.mp3", "/in/empty.mp3",
                     "/in/hollow.mp3", "/in/appears.mp3", "/in/spoilt.mp3", "/in/busy.mp3"},
            {"Decoding", "decode"}, [&](const QString& input) { return decodeCommand(input, files.path() + "/"); });

    EXPECT_EQ(script.texts(), QStringList({"Cannot decode 'part.mp3'.", "Cannot decode 'none.mp3'.",
                                           "Cannot decode 'empty.mp3'.", "Cannot decode 'hollow.mp3'.",
                                           "Cannot decode 'spoilt.mp3'.",
                                           "These files were not decoded, as the output folder already holds a file "
                                           "of their output's name:\n'taken.mp3'\n'link.mp3'\n'appears.mp3'"}));
    EXPECT_EQ(readAll(files.filePath("taken.wav")), "the user's own");
    EXPECT_EQ(readAll(files.filePath("busy.wav.temp")), "the user's own");
    EXPECT_EQ(readAll(files.filePath("appears.wav")) + readAll(files.filePath("spoilt.wav")), "mine\nmine\n");
    EXPECT_EQ(QDir(files.path()).entryList(QDir::Files),
              QStringList({"appears.wav", "busy.wav", "busy.wav.temp", "good.wav", "spoilt.wav", "taken.wav"}));
}

TEST(EncoderRun, TheProgramsEndCancelsTheRunAndTheRunningEncoderFinishesItsFile)
{
    ScriptedUserInterface script;
    const ProgramFolderForTest program(ProgramFolderForTest::Encoder::None);
    const QString log = program.dir.filePath("starts.log");
    writeSlowEncoder(program.dir, log, 2);
    const TempDir out;
    QWidget owner;

    QTimer::singleShot(0, [&] {
        QTimer::singleShot(300, [] { QCoreApplication::exit(); });
        runLame(&owner, {"/in/a.wav", "/in/b.wav", "/in/c.wav"}, {"Encoding", "encode"},
                [&](const QString& input) { return encodeCommand(EncodeOptions(), input, out.path() + "/"); });
    });
    QCoreApplication::exec();

    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(out.filePath("a.mp3")); }, 60000));
    EXPECT_EQ(readAll(out.filePath("a.mp3")), "finished\n");
    EXPECT_EQ(readAll(log).count('\n'), 1);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList({"a.mp3"}));
    EXPECT_TRUE(script.messages.isEmpty());
}
