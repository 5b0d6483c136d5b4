#include "exchange/XlsSheetReader.h"

#include "exchange/XlsBiffFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int ReadLimitMs = 60000;
// The message of a sheet the layout bounds is far smaller; a larger one is not the reader's.
constexpr qsizetype MaxMessageBytes = 256 * 1024 * 1024;

// Everything the reader program sends, or nothing when it overran the time or the size limit.
bool readAll(int fd, QByteArray *out) {
    QElapsedTimer clock;
    clock.start();
    char buffer[65536];
    for (;;) {
        const qint64 left = ReadLimitMs - clock.elapsed();
        pollfd p{fd, POLLIN, 0};
        const int ready = left > 0 ? ::poll(&p, 1, int(left)) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || out->size() + n > MaxMessageBytes)
            return false;
        if (n == 0)
            return true;
        out->append(buffer, qsizetype(n));
    }
}

// Starts the reader program with its output into `output`, its input and errors on /dev/null.
pid_t spawnReader(const QByteArray &program, const QList<QByteArray> &arguments, int output) {
    posix_spawn_file_actions_t actions;
    if (::posix_spawn_file_actions_init(&actions) != 0)
        return -1;
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, output, 1);
    ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    QList<char *> argv{const_cast<char *>(program.constData())};
    for (const QByteArray &a : arguments)
        argv << const_cast<char *>(a.constData());
    argv << nullptr;
    pid_t child = -1;
    if (::posix_spawn(&child, program.constData(), &actions, nullptr, argv.data(), environ) != 0)
        child = -1;
    ::posix_spawn_file_actions_destroy(&actions);
    return child;
}

} // namespace

namespace XlsSheetReader {

QString readerProgram() {
    const QByteArray chosen = qgetenv("VELMORA_XLS_READER");
    if (!chosen.isEmpty())
        return QFile::decodeName(chosen);
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QFileInfo(self).absolutePath() + QStringLiteral("/velmora-xls-reader");
}

// The library behind this reader reads past its buffers on some damaged files, so a file is read
// by a program of its own, started afresh (never a fork of this multi-threaded process running
// library code): a crash or a hang there is a damaged file here, never the end of the tool.
Result<SheetCells> read(const QString &path, const SheetLayout &layout) {
    const QString program = readerProgram();
    if (!QFileInfo(program).isExecutable())
        return Failure{
            QStringLiteral("the program that reads .xls workbooks, %1, is missing").arg(program)};
    const Failure stopped{QStringLiteral("the .xls workbook is damaged (reading it failed)")};
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return stopped;
    const pid_t child = spawnReader(QFile::encodeName(program),
                                    {QFile::encodeName(path), QByteArray::number(layout.lastRow),
                                     QByteArray::number(layout.lastColumn)},
                                    pipeFds[1]);
    ::close(pipeFds[1]);
    QByteArray message;
    const bool whole = child > 0 && readAll(pipeFds[0], &message);
    ::close(pipeFds[0]);
    int status = 0;
    if (child > 0) {
        if (!whole)
            ::kill(child, SIGKILL);
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    if (!whole || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return stopped;
    SheetCells cells;
    QString reason;
    if (!XlsBiffFile::decodeMessage(message, layout, &cells, &reason))
        return Failure{reason};
    return cells;
}

} // namespace XlsSheetReader
