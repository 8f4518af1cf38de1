// SPDX-License-Identifier: MIT
// The per-user settings store on Linux and other Unix desktops: one INI file per application and section,
// $XDG_CONFIG_HOME/<application>/<section>.ini, with every key at the top level. It holds the password in
// plain text, so the file is created and kept readable by its owner only.
//
// The store never damages what it finds: a name that is not a regular file (a folder, a FIFO, a device, a
// link to nowhere) is reported once and left alone, a file it cannot read is not overwritten, a file is
// replaced only as a whole (a full disk leaves the old one in place), and a write changes only its own key.
#include "settingsstore_unix.h"

#include "initext.h"

#include "app/failure.h"
#include "app/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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
    const Found found = look(path);
    if (found == Found::SomethingElse) // not ours to change, not even its mode
        throw Failure(QStringLiteral("it is not a regular file; nothing is saved until it is removed"));
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
}

} // namespace umbralux
