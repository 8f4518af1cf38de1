// SPDX-License-Identifier: MIT
// The per-user settings store on Linux and other Unix desktops: one INI file per application and section,
// $XDG_CONFIG_HOME/<application>/<section>.ini, with every key at the top level. It holds the password in
// plain text, so the file is created and kept readable by its owner only.
//
// The store never damages what it finds: a name that is not a regular file (a folder, a FIFO, a device, a
// link to nowhere) is reported once and left alone, a file it cannot read is not overwritten, a file is
// replaced only as a whole (a full disk leaves the old one in place), and a write changes only its own key.
// Writers take turns: a save holds a lock file beside the settings file (the one QSettings takes) while it
// reads the file again, changes its key and replaces the file, so a change saved meanwhile by another copy of
// the program, or by QSettings, is never lost.
#include "settingsstore_unix.h"

#include "initext.h"

#include "app/failure.h"
#include "app/regularfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace umbralux {
namespace {

/// No settings file of the program comes near this; a larger one is not the program's and is not read.
constexpr qint64 kMaxStoreFileBytes = qint64{16} * 1024 * 1024;
/// How long a save waits for another writer to finish: a save takes milliseconds, so a lock held this long
/// belongs to a writer that hangs, and the user is told instead of the window freezing.
constexpr int kLockWaitMs = 5000;
/// The suffix of the lock file that QSettings and the store take beside the settings file.
constexpr char kLockSuffix[] = ".lock";
constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;
constexpr mode_t kGroupOrOthers = S_IRWXG | S_IRWXO;

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

/// Creates the file with owner-only permissions before its first write, so the password is never readable
/// by others, not even for a moment.
void createOwnerOnlyFile(const QString& path) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kOwnerOnly);
    if (fd < 0)
        throw Failure(QString::fromLocal8Bit(std::strerror(errno)));
    ::close(fd);
}

/// The folder of the settings file, made when it does not exist yet.
void makeFolderFor(const QString& path) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw Failure(QCoreApplication::translate("Failure", "Path not found"));
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

/// What was last read, with the stamp of the file it came from: the reads of one start parse an unchanged
/// file once, and a changed stamp reads afresh.
struct IniSettingsStore::Snapshot {
    QString path;
    FileStamp stamp;
    IniText text;
};

IniSettingsStore::IniSettingsStore(QString configHome) : m_configHome(std::move(configHome)) {}

IniSettingsStore::~IniSettingsStore() = default;

QString IniSettingsStore::userConfigHome() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::homePath() + QStringLiteral("/.config");
}

QString IniSettingsStore::location(const QString& application, const QString& section) const {
    return m_configHome + QLatin1Char('/') + application + QLatin1Char('/') + section +
           QStringLiteral(".ini");
}

std::optional<IniText> IniSettingsStore::currentText(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    const FileStamp stamp(info);
    if (m_last && m_last->path == path && m_last->stamp == stamp)
        return m_last->text;
    try {
        IniText text(readRegularFile(path, kMaxStoreFileBytes));
        m_last = std::make_unique<Snapshot>(Snapshot{path, stamp, text});
        return text;
    } catch (const Failure&) {
        m_last.reset();
        return std::nullopt; // an unreadable store reads as an empty one
    }
}

bool IniSettingsStore::holdsAlready(const QString& path, const QString& key, const QString& text) {
    const std::optional<IniText> current = currentText(path);
    if (!current || current->withValue(key, text) != current->bytes())
        return false;
    // Nothing to write, so no turn at the lock is needed: another writer's change is kept either way. Taking
    // the lock all the same costs a synced lock file and its removal, milliseconds each time on a journalled
    // disk, and the options window saves its choices at every load. The save goes the usual way, and reports
    // what the usual way reports, whenever that lock could not be had at once: another writer holds it (or
    // left it behind), the folder takes no new file, the disk is full, or the file is another user's.
    const QByteArray lockName = QFile::encodeName(path + QLatin1String(kLockSuffix));
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    struct stat lockInfo {};
    struct statvfs disk {};
    if (::lstat(lockName.constData(), &lockInfo) == 0 || errno != ENOENT ||
        ::access(folder.constData(), W_OK) != 0 || ::statvfs(folder.constData(), &disk) != 0 ||
        (::geteuid() == 0 ? disk.f_bfree : disk.f_bavail) == 0)
        return false;
    const QString target = QFileInfo(path).canonicalFilePath();
    struct stat info {};
    if (::stat(QFile::encodeName(target).constData(), &info) != 0 || info.st_uid != ::geteuid())
        return false;
    tightenIfOwned(target);
    return true;
}

QString IniSettingsStore::GetSetting(const QString& application, const QString& section, const QString& key,
                                     const QString& defaultValue) {
    const std::optional<IniText> text = currentText(location(application, section));
    if (!text)
        return defaultValue;
    return text->value(key).value_or(defaultValue);
}

void IniSettingsStore::SaveSetting(const QString& application, const QString& section, const QString& key,
                                   const QString& text) {
    const QString path = location(application, section);
    if (look(path) == Found::SomethingElse) // not ours to change, not even its mode
        throw Failure(QCoreApplication::translate(
            "Failure", "it is not a regular file; nothing is saved until it is removed"));
    if (holdsAlready(path, key, text))
        return;
    makeFolderFor(path);
    QLockFile lock(path + QLatin1String(kLockSuffix));
    if (!lock.tryLock(kLockWaitMs)) {
        throw Failure(
            lock.error() == QLockFile::LockFailedError
                ? QCoreApplication::translate("Failure", "another program keeps the settings file locked")
                : QCoreApplication::translate("Failure", "the lock file beside it cannot be made"));
    }
    // Everything from here on sees the file as it is now: another writer may have changed or made it.
    const Found found = look(path);
    if (found == Found::SomethingElse)
        throw Failure(QCoreApplication::translate(
            "Failure", "it is not a regular file; nothing is saved until it is removed"));
    if (found == Found::Nothing)
        createOwnerOnlyFile(path);
    // Writing goes to the file a symbolic link leads to; the link stays. Replacing a file means a new file
    // of the user's own in its place, so a file of someone else (a link into another user's folder) would be
    // taken from its owner: it is left alone.
    const QString target = QFileInfo(path).canonicalFilePath();
    struct stat info {};
    if (::stat(QFile::encodeName(target).constData(), &info) == 0 && info.st_uid != ::geteuid())
        throw Failure(
            QCoreApplication::translate("Failure", "it belongs to another user; it is left as it is"));
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
}

} // namespace umbralux
