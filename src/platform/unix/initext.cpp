// SPDX-License-Identifier: MIT
#include "initext.h"

#include "iniescaping.h"

#include <algorithm>

namespace umbralux {

using ini::escapedKey;
using ini::escapedValue;
using ini::isLineEnd;
using ini::unescapedKey;
using ini::unescapedValue;

namespace {

/// The section whose keys are the top-level keys.
constexpr char kGeneralSection[] = "General";

/// The blanks that QSettings skips around entries and between lines.
bool isLineBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

/// A UTF-8 byte-order mark, which an editor may put at the start of the file.
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

/// One line as QSettings splits the file into lines: blanks before it skipped, comment lines (";" first)
/// skipped, and a line break or a ";" outside quotes ends it; inside quotes, and after a backslash, a line
/// break is part of the line.
struct IniLine {
    qsizetype start = 0;
    qsizetype end = 0;     // one past the line, a comment after it not included
    qsizetype equals = -1; // the first "=" outside quotes
    QByteArray closer;     // what ends the line when the file ends inside quotes or right after a backslash
};

bool readIniLine(QByteArrayView data, qsizetype& pos, IniLine& line) {
    const qsizetype n = data.size();
    bool inQuotes = false;
    bool afterBackslash = false; // the file ends after a backslash, or after a backslash and "\r"
    bool escapedReturn = false;
    line.equals = -1;
    line.start = pos;
    while (line.start < n && isLineBlank(data[line.start]))
        ++line.start;
    qsizetype i = line.start;
    while (i < n) {
        const char ch = data[i++];
        afterBackslash = false;
        if (ch == '=') {
            if (!inQuotes && line.equals < 0)
                line.equals = i - 1;
        } else if (isLineEnd(ch)) {
            if (i == line.start + 1) {
                ++line.start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (ch == '\\') {
            afterBackslash = true;
            escapedReturn = false;
            if (i < n) {
                const char escaped = data[i++];
                // a backslash before "\r" at the very end would join "\r" with the "\n" of a line added after
                escapedReturn = i >= n && escaped == '\r';
                afterBackslash = escapedReturn;
                if (i < n && isLineEnd(escaped) && isLineEnd(data[i]) && data[i] != escaped)
                    ++i;
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (ch == ';') {
            if (i == line.start + 1) { // a comment line
                while (i < n && !isLineEnd(data[i]))
                    ++i;
                while (i < n && isLineBlank(data[i]))
                    ++i;
                line.start = i;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    pos = i;
    line.end = i;
    // A backslash that ends the file is given a space to escape. After a backslash and "\r", what keeps the
    // "\r" from the next "\n" is the closing quote, or else a ";" that ends the line: a space there would
    // become part of a value that has quotes.
    line.closer.clear();
    if (i >= n && afterBackslash && !escapedReturn)
        line.closer += ' ';
    if (i >= n && inQuotes)
        line.closer += '"';
    else if (i >= n && escapedReturn)
        line.closer += ';';
    return line.end > line.start;
}

} // namespace

IniText::IniText(QByteArray bytes) : m_bytes(std::move(bytes)) {
    parse();
}

void IniText::parse() {
    QByteArrayView data(m_bytes);
    if (data.startsWith(kByteOrderMark))
        m_bodyStart = qsizetype(sizeof kByteOrderMark) - 1;
    bool topLevel = true;
    qsizetype pos = m_bodyStart;
    IniLine line;
    for (bool firstLine = true; readIniLine(data, pos, line); firstLine = false) {
        const QByteArrayView text = data.sliced(line.start, line.end - line.start);
        if (text.startsWith('[')) {
            // Only the section name before "]" counts; "[General" without it is still "General".
            const qsizetype close = text.indexOf(']');
            const QByteArrayView name = text.first(close < 0 ? text.size() : close).sliced(1).trimmed();
            topLevel = name.compare(kGeneralSection, Qt::CaseInsensitive) == 0;
        } else if (topLevel && line.equals >= 0) {
            // QSettings reads the key of a first line that follows a byte-order mark from the file's first
            // byte: the mark is dropped, and the blanks after it are part of the key.
            const QByteArrayView blanks = data.sliced(m_bodyStart, line.start - m_bodyStart);
            const bool afterMark =
                firstLine && m_bodyStart > 0 &&
                std::all_of(blanks.begin(), blanks.end(), [](char ch) { return ch == ' ' || ch == '\t'; });
            const qsizetype nameStart = afterMark ? 0 : line.start;
            const QString key = unescapedKey(data.sliced(nameStart, line.equals - nameStart).trimmed());
            m_entries.push_back({key, afterMark ? m_bodyStart : line.start, line.end,
                                 data.sliced(line.equals + 1, line.end - line.equals - 1).toByteArray()});
        }
        if (topLevel) {
            // A new entry goes after the whole line, a comment after the value included.
            qsizetype physicalEnd = line.end;
            while (physicalEnd < data.size() && !isLineEnd(data[physicalEnd]))
                ++physicalEnd;
            m_hasTopLevel = true;
            m_topLevelEnd = physicalEnd;
            m_topLevelCloser = line.closer;
        }
    }
}

std::optional<QString> IniText::value(const QString& key) const {
    for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry) {
        if (entry->key == key)
            return unescapedValue(entry->rawValue);
    }
    return std::nullopt;
}

QStringList IniText::keys() const {
    QStringList all;
    for (const Entry& entry : m_entries) {
        if (!all.contains(entry.key))
            all << entry.key;
    }
    return all;
}

QByteArray IniText::withValue(const QString& key, const QString& text) const {
    const QByteArray line = escapedKey(key) + '=' + escapedValue(text);
    for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry) {
        if (entry->key == key) {
            // The same text again keeps the bytes it was read from, even those that are not UTF-8.
            if (unescapedValue(entry->rawValue) == text)
                return m_bytes;
            QByteArray result = m_bytes;
            return result.replace(entry->start, entry->end - entry->start, line);
        }
    }
    QByteArray result = m_bytes;
    if (!m_hasTopLevel)
        return result.insert(m_bodyStart, "[" + QByteArray(kGeneralSection) + "]\n" + line +
                                              (m_bytes.size() == m_bodyStart ? "\n" : "\n\n"));
    if (m_topLevelEnd < m_bytes.size()) {
        // After the line break that ends the top level: put before it, the new line would continue a last
        // line that ends in a backslash and "\r".
        const qsizetype breakSize = QByteArrayView(m_bytes).sliced(m_topLevelEnd).startsWith("\r\n") ? 2 : 1;
        return result.insert(m_topLevelEnd + breakSize, line + '\n');
    }
    // The file ends inside quotes or after a backslash: a line added after it would become part of the last
    // one. Closing it changes nothing of what it reads as, to the store or to QSettings; writing an entry
    // again as the store reads it would turn a list or a value of another type into a text for QSettings.
    return result.append(m_topLevelCloser + '\n' + line + '\n');
}

} // namespace umbralux
