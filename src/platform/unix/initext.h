// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace umbralux {

/// The text of the settings store's INI file: its top-level keys (those before any section and in
/// "[General]") with their values, cut into lines and sections the way QSettings writes and reads them, each
/// key and value escaped as iniescaping.h has it, so that files written by earlier versions keep working.
/// Changing a key rewrites only that key's entry: every other byte of the file, comments and text that is
/// not valid UTF-8 included, stays as it was.
class IniText {
  public:
    explicit IniText(QByteArray bytes = {});

    /// The value of a top-level key; the last entry wins when a key appears more than once.
    std::optional<QString> value(const QString& key) const;
    /// Every top-level key, once each, in file order.
    QStringList keys() const;
    /// The file's bytes with the key set to the text: its entry replaced, or a new one added to the top
    /// level; a key that already reads as the text keeps its bytes.
    QByteArray withValue(const QString& key, const QString& text) const;

    const QByteArray& bytes() const { return m_bytes; }

  private:
    struct Entry {
        QString key;
        qsizetype start; // first byte of the key
        qsizetype end;   // one past the value (a comment after it is not part of the entry)
        QByteArray rawValue;
    };
    void parse();

    QByteArray m_bytes;
    std::vector<Entry> m_entries;
    /// Where a new top-level entry goes: the end of the last top-level line, or -1 when there is none.
    qsizetype m_topLevelEnd = -1;
    /// Whether the file already has a top-level part ("[General]" or entries before any section).
    bool m_hasTopLevel = false;
    /// What closes the last top-level line when it runs to the end of the file inside quotes or after a
    /// backslash; empty when it is closed.
    QByteArray m_topLevelCloser;
    /// Where the text starts: after a byte-order mark, if there is one.
    qsizetype m_bodyStart = 0;
};

} // namespace umbralux
