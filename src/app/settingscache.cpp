#include "settingscache.h"

#include <QFile>
#include <sys/stat.h>

namespace umbralux {
namespace {

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

/// The identity of an ordinary file at path; false for anything else (missing, a link, a folder, ...).
bool identify(const QString& path, SettingsCache::Identity& identity) {
    struct stat info {};
    if (lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    identity = {info.st_dev, info.st_ino, info.st_size, info.st_mode, info.st_mtim, info.st_ctim};
    return true;
}

} // namespace

bool SettingsCache::Identity::operator==(const Identity& other) const {
    return device == other.device && inode == other.inode && size == other.size && mode == other.mode &&
           sameTime(modified, other.modified) && sameTime(changed, other.changed);
}

QString SettingsCache::path(const QString& application, const QString& section,
                            const std::function<QString()>& locate) {
    const QString storeKey = application + QChar::Null + section;
    Identity ignored;
    if (storeKey != m_storeKey || m_path.isEmpty() || !identify(m_path, ignored)) {
        m_storeKey = storeKey;
        m_path = locate();
    }
    return m_path;
}

const QVariantHash* SettingsCache::values(const QString& path, const std::function<QVariantHash()>& read) {
    Identity now;
    if (!identify(path, now)) {
        forget();
        return nullptr;
    }
    if (m_valid && path == m_readPath && now == m_identity)
        return &m_values;
    // The identity is taken before the read: a change made while reading shows at the next look.
    m_values = read();
    m_readPath = path;
    m_identity = now;
    m_valid = true;
    return &m_values;
}

bool SettingsCache::ownerOnly() const {
    return m_valid && (m_identity.mode & (S_IRWXG | S_IRWXO)) == 0;
}

void SettingsCache::forget() {
    m_valid = false;
    m_values.clear();
}

} // namespace umbralux
