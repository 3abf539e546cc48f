#include "RunOutput.h"

#include "FileReplacement.h"
#include "NoReplaceRename.h"

#include <QFile>
#include <QtEndian>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Far beyond the chunks an encoder writes before a WAV file's samples.
constexpr qint64 WavHeadBytes = 64 * 1024;

// An encoder that reports success on a damaged input may leave nothing, or a WAV file with a
// header and no samples.
bool holdsAudio(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
        return false;
    const QByteArray head = file.read(WavHeadBytes);
    if (!head.startsWith("RIFF") || head.mid(8, 4) != "WAVE")
        return true;
    // Chunks follow the 12-byte header, each an id, a little-endian size and its bytes.
    for (qint64 pos = 12; pos + 8 <= head.size();) {
        const quint32 size = qFromLittleEndian<quint32>(head.constData() + pos + 4);
        if (head.mid(pos, 4) == "data")
            return size > 0 && file.size() > pos + 8;
        pos += 8 + qint64(size) + (size & 1);
    }
    return false;
}

}  // namespace

bool RunOutput::create()
{
    const int fd = createTemporaryBeside(output, 0666, own);
    if (fd < 0) {
        own.clear();   // the name tried last is another's
        return false;
    }
    ::close(fd);
    return true;
}

RunOutput::Placed RunOutput::place() const
{
    if (!holdsAudio(own)) {
        discard();
        return Placed::Failed;
    }
    if (renameWithoutReplacing(AT_FDCWD, QFile::encodeName(own), QFile::encodeName(output)))
        return Placed::Written;
    const Placed placed = errno == EEXIST ? Placed::NameTaken : Placed::Failed;
    discard();
    return placed;
}

void RunOutput::discard() const
{
    ::unlink(QFile::encodeName(own).constData());
}
