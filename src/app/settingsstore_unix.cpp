// SPDX-License-Identifier: MIT
// The per-user settings store on Linux and other Unix desktops: one INI file per application and section,
// $XDG_CONFIG_HOME/<application>/<section>.ini, with every key at the top level. It holds the password in
// plain text, so the file is created and kept readable by its owner only.
//
// The store never damages what it finds: a name that is not a regular file (a folder, a FIFO, a device, a
// link to nowhere) is reported once and left alone, a file it cannot read is not overwritten, a file is
// replaced only as a whole (a full disk leaves the old one in place), and a write changes only its own key.
#include "settingsstore.h"

#include "failure.h"
#include "initext.h"
#include "regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace umbralux {
namespace {

/// No settings file of the program comes near this; a larger one is not the program's and is not read.
constexpr qint64 kMaxStoreFileBytes = qint64{16} * 1024 * 1024;
constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;
constexpr mode_t kGroupOrOthers = S_IRWXG | S_IRWXO;

/// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path (the XDG base-directory
/// rules say a relative one is to be ignored), otherwise ~/.config.
QString configHome() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::homePath() + QStringLiteral("/.config");
}

/// What the store finds under its file name.
enum class Found { Nothing, RegularFile, SomethingElse };

Found look(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) == 0) // through a symbolic link: the user's dotfiles may keep it
        return S_ISREG(info.st_mode) ? Found::RegularFile : Found::SomethingElse;
    if (::lstat(name.constData(), &info) == 0) // a link that leads nowhere
        return Found::SomethingElse;
    return Found::Nothing;
}

/// Reports a save that failed, once per file and cause: a store that cannot be written fails the same way
/// at every save, and a box at every keystroke in the password box would leave the user unable to type.
/// The later failures of the same kind give up silently; the user knows by then that nothing is saved.
void failOnce(const QString& path, const QString& cause) {
    static QSet<QString> reported;
    const QString what = path + QLatin1Char('\n') + cause;
    if (reported.contains(what))
        return;
    reported.insert(what);
    throw Failure(QStringLiteral("The settings cannot be saved to %1: %2").arg(path, cause));
}

/// What identifies one state of a file: any write, by the program or by another process, changes at least
/// its change time, and a replaced file has another inode.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    timespec modified{};
    timespec changed{};

    explicit FileStamp(const struct stat& info)
        : device(info.st_dev), inode(info.st_ino), size(info.st_size), modified(info.st_mtim),
          changed(info.st_ctim) {}
    bool operator==(const FileStamp& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
               changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

/// The file's current text, or nothing when there is no file to read. The last text read is kept with the
/// file's stamp, so that the reads of one start parse an unchanged file once; a changed stamp reads afresh.
std::optional<IniText> currentText(const QString& path) {
    struct Snapshot {
        QString path;
        FileStamp stamp;
        IniText text;
    };
    static std::optional<Snapshot> last;
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    const FileStamp stamp(info);
    if (last && last->path == path && last->stamp == stamp)
        return last->text;
    try {
        IniText text(readRegularFile(path, kMaxStoreFileBytes));
        last = Snapshot{path, stamp, text};
        return text;
    } catch (const Failure&) {
        last.reset();
        return std::nullopt; // an unreadable store reads as an empty one
    }
}

/// Creates the file with owner-only permissions before its first write, so the password is never readable
/// by others, not even for a moment.
void createOwnerOnlyFile(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw Failure(QStringLiteral("Path not found"));
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kOwnerOnly);
    if (fd < 0)
        throw Failure(QString::fromLocal8Bit(std::strerror(errno)));
    ::close(fd);
}

/// A file the user owns is closed to others again (an older version or a hand may have opened it), and
/// keeps the owner's own bits: a file the user made read-only stays read-only. A file that belongs to someone
/// else keeps its mode.
void tightenIfOwned(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
        (info.st_mode & kGroupOrOthers))
        ::chmod(name.constData(), info.st_mode & S_IRWXU);
}

} // namespace

QString settingsLocation(const QString& application, const QString& section) {
    return configHome() + QLatin1Char('/') + application + QLatin1Char('/') + section +
           QStringLiteral(".ini");
}

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue) {
    const std::optional<IniText> text = currentText(settingsLocation(application, section));
    if (!text)
        return defaultValue;
    return text->value(key).value_or(defaultValue);
}

QString GetSetting(const QString& application, const QString& section, const QString& key, int defaultValue) {
    return GetSetting(application, section, key, QString::number(defaultValue));
}

void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& text) {
    const QString path = settingsLocation(application, section);
    const Found found = look(path);
    if (found == Found::SomethingElse) {
        // Not ours to change, not even its mode.
        failOnce(path, QStringLiteral("it is not a regular file; nothing is saved until it is removed"));
        return;
    }
    try {
        if (found == Found::Nothing)
            createOwnerOnlyFile(path);
        // Writing goes to the file a symbolic link leads to; the link stays.
        const QString target = QFileInfo(path).canonicalFilePath();
        tightenIfOwned(target);
        const QByteArray before = readRegularFile(target, kMaxStoreFileBytes); // unreadable: not overwritten
        const QByteArray after = IniText(before).withValue(key, text);
        if (after == before)
            return;
        QSaveFile file(target);
        // The explicit flush matters: a write error in commit()'s own flush (a full disk) would otherwise go
        // unnoticed and the half-written file would replace the good one.
        if (!file.open(QIODevice::WriteOnly) || file.write(after) != after.size() || !file.flush() ||
            !file.commit())
            throw Failure(file.errorString());
    } catch (const Failure& failure) {
        failOnce(path, failure.description());
    }
}

} // namespace umbralux
