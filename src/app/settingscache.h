#pragma once

#include <QString>
#include <QVariantHash>
#include <functional>
#include <sys/types.h>
#include <time.h>

namespace umbralux {

/// What this process last read from the settings file, kept for as long as the file on disk is provably the
/// one it was read from. A change by anyone (this process, another one, an editor) gives the file a new
/// inode, size, modification or status-change time, and the next look parses it again; so a cache hit never
/// hides another process's write from a later read. (The parse itself goes through QSettings, which reads
/// the file again only when its size or modification millisecond changed, as every read always did.)
class SettingsCache {
  public:
    /// The file's identity as the file system reports it.
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        mode_t mode = 0;
        timespec modified{};
        timespec changed{};
        bool operator==(const Identity& other) const;
    };

    /// Where the store of (application, section) lives. `locate` is asked once and again only when no file is
    /// found there (the store moved or does not exist yet).
    QString path(const QString& application, const QString& section, const std::function<QString()>& locate);

    /// The values stored in the ordinary file at path: the remembered ones while the file is unchanged, else
    /// read afresh through `read`. Null when there is no ordinary file at path; the caller then goes to the
    /// file itself.
    const QVariantHash* values(const QString& path, const std::function<QVariantHash()>& read);

    /// Whether the remembered file is readable and writable by its owner only (what a write would ensure).
    bool ownerOnly() const;

    /// Drops what is remembered, after this process changed the file itself.
    void forget();

  private:
    QString m_storeKey;
    QString m_path;
    QString m_readPath;
    bool m_valid = false;
    Identity m_identity;
    QVariantHash m_values;
};

} // namespace umbralux
