#include "EncoderProcess.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The child's status once it has ended and been reaped; nothing while it runs.
std::optional<int> endedStatus(pid_t pid, int options)
{
    int status = 0;
    pid_t ended = 0;
    do
        ended = waitpid(pid, &status, options);
    while (ended < 0 && errno == EINTR);
    return ended == pid ? std::optional<int>(status) : std::nullopt;
}

bool succeeded(int status)
{
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

EncoderProcess::~EncoderProcess()
{
    if (descriptor < 0)
        return;
    if (pid < 0) {
        close(descriptor);
        return;
    }
    // Left running by Cancel: reaped when it ends, so that it does not stay behind as a zombie.
    auto* ended = new QSocketNotifier(descriptor, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(ended, &QSocketNotifier::activated, ended,
                     [ended, child = pid, fd = descriptor, finish = std::move(finish)] {
                         ended->setEnabled(false);
                         const std::optional<int> status = endedStatus(child, 0);
                         close(fd);
                         if (finish)
                             finish(status && succeeded(*status));
                         ended->deleteLater();
                     });
}

bool EncoderProcess::start(const QString& program, const QStringList& arguments)
{
    std::vector<QByteArray> texts = {QFile::encodeName(program)};
    for (const QString& argument : arguments)
        texts.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t streams;
    posix_spawn_file_actions_init(&streams);
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        posix_spawn_file_actions_addopen(&streams, stream, "/dev/null", stream == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A session of its own: the hang-up of the terminal the program was started from does not reach it.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    const int error = posix_spawn(&pid, argv.front(), &streams, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&streams);
    if (error != 0) {
        pid = -1;
        return false;
    }
    descriptor = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    return true;
}

EncoderProcess::End EncoderProcess::wait(const QPushButton* cancel)
{
    if (descriptor >= 0) {
        const QSocketNotifier ended(descriptor, QSocketNotifier::Read);
        QEventLoop loop;
        QObject::connect(&ended, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        QObject::connect(cancel, &QPushButton::clicked, &loop, &QEventLoop::quit);
        loop.exec();
    }
    // Without a descriptor (a kernel before 5.3) the end is waited for without events.
    const std::optional<int> status = endedStatus(pid, descriptor >= 0 ? WNOHANG : 0);
    if (!status)
        return End::StillRunning;
    pid = -1;
    return succeeded(*status) ? End::Succeeded : End::Failed;
}
