// SPDX-License-Identifier: MIT
#include "regularfile.h"

#include "failure.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace umbralux {
namespace {

QString describeErrno(int error, const QString& path) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QCoreApplication::translate("Failure", "File not found: %1").arg(path);
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("Failure", "Permission denied: %1").arg(path);
    default:
        return QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(std::strerror(error)), path);
    }
}

/// Closes the descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

QByteArray readRegularFile(const QString& path, qint64 maxBytes) {
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for one for ever.
    Descriptor file{
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0)
        throw Failure(describeErrno(errno, path));
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        throw Failure(describeErrno(errno, path));
    if (!S_ISREG(info.st_mode))
        throw Failure(QCoreApplication::translate("Failure", "Not a regular file: %1").arg(path));
    if (info.st_size > maxBytes)
        throw Failure(QCoreApplication::translate("Failure", "File too large: %1").arg(path));
    QByteArray data;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw Failure(describeErrno(errno, path));
        if (got == 0)
            return data;
        if (data.size() + got > maxBytes) // it grew while being read
            throw Failure(QCoreApplication::translate("Failure", "File too large: %1").arg(path));
        data.append(buffer, got);
    }
}

} // namespace umbralux
