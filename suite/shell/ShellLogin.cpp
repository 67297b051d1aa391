#include "suite/shell/ShellLogin.h"

#include "suite/shell/ShellOptions.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString firstLine(QByteArray bytes)
{
    const qsizetype end = bytes.indexOf('\n');
    if (end >= 0)
        bytes.truncate(end);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    const QString line = QString::fromUtf8(bytes);
    bytes.fill('\0');
    return line;
}

// One line from a file descriptor, read byte by byte so that nothing after
// the line is taken from a pipe the caller may still read.
QString readLine(int fd)
{
    QByteArray bytes;
    char c = 0;
    while (bytes.size() < 4096 && ::read(fd, &c, 1) == 1 && c != '\n')
        bytes += c;
    return firstLine(bytes);
}

QString askOnTerminal(const QString& user)
{
    std::fprintf(stderr, "steward: password of user %s: ", qPrintable(user));
    std::fflush(stderr);
    termios saved {};
    const bool quiet = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        silent.c_lflag |= ECHONL;
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    const QString line = readLine(STDIN_FILENO);
    if (quiet)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    return line;
}

} // namespace

TLoginAnswer ReadPasswordFile(const QString& file)
{
    TLoginAnswer answer;
    const QByteArray path = QFile::encodeName(file);
    struct stat st { };
    // lstat: a link could point at a file whose mode says nothing of who reads it.
    if (::lstat(path.constData(), &st) != 0) {
        answer.Error = QStringLiteral("password file %1 cannot be read").arg(file);
        return answer;
    }
    if (!S_ISREG(st.st_mode) || st.st_uid != ::getuid() || (st.st_mode & 077) != 0) {
        answer.Error
            = QStringLiteral("password file %1 is refused: it must be a plain file of yours that only you "
                             "may read (chmod 600), it is mode %2")
                  .arg(file)
                  .arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
        return answer;
    }
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        answer.Error = QStringLiteral("password file %1 cannot be read").arg(file);
        return answer;
    }
    answer.Password = firstLine(f.read(4096));
    return answer;
}

TLoginAnswer ObtainPassword(const TShellOptions& options)
{
    if (!options.PasswordFile.isEmpty())
        return ReadPasswordFile(options.PasswordFile);
    TLoginAnswer answer;
    if (options.PasswordStdin) {
        answer.Password = readLine(STDIN_FILENO);
        return answer;
    }
    if (qEnvironmentVariableIsSet("STEWARD_PASSWORD")) {
        answer.Password = qEnvironmentVariable("STEWARD_PASSWORD");
        qunsetenv("STEWARD_PASSWORD");
        return answer;
    }
    if (::isatty(STDIN_FILENO)) {
        const QString typed = askOnTerminal(options.User);
        if (!typed.isEmpty())
            answer.Password = typed;
    }
    return answer;
}
