// SPDX-License-Identifier: MIT
#include "initext.h"

#include <QStringDecoder>
#include <algorithm>

namespace umbralux {
namespace {

/// The section whose keys are the top-level keys.
constexpr char kGeneralSection[] = "General";

/// The blanks that QSettings skips around entries and between lines.
bool isLineBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}
/// The only blanks dropped around an unquoted value: a value that ends in another space (U+00A0, U+3000, a
/// form feed) keeps it.
bool isValueBlank(QChar ch) {
    return ch == QLatin1Char(' ') || ch == QLatin1Char('\t');
}
bool isLineEnd(char ch) {
    return ch == '\n' || ch == '\r';
}
int hexValue(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}
int octValue(char ch) {
    return ch >= '0' && ch <= '7' ? ch - '0' : -1;
}

/// A UTF-8 byte-order mark, which an editor may put at the start of the file.
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

/// "%XX" and "%UXXXX" decoded, a backslash read as the slash it stands for. A byte-order mark at the start
/// is dropped, as QSettings drops it.
QString unescapedKey(QByteArrayView raw) {
    const QString decoded = QString::fromUtf8(raw);
    QString key;
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        const QChar ch = decoded.at(i);
        if (ch == QLatin1Char('\\')) {
            key += QLatin1Char('/');
            continue;
        }
        if (ch == QLatin1Char('%') && i + 1 < decoded.size()) {
            const bool wide = decoded.at(i + 1) == QLatin1Char('U');
            const qsizetype digits = wide ? 4 : 2;
            const qsizetype first = i + (wide ? 2 : 1);
            bool ok = false;
            const ushort value = first + digits <= decoded.size()
                                     ? QStringView(decoded).sliced(first, digits).toUShort(&ok, 16)
                                     : 0;
            if (ok) {
                key += QChar(value);
                i = first + digits - 1;
                continue;
            }
        }
        key += ch;
    }
    return key;
}

/// The "@" forms of a single text, as QSettings gives them back as text. "@ByteArray(...)" keeps its
/// characters (QSettings narrows them to Latin-1 and so loses the others); the forms that hold binary data
/// or geometry, which the program never writes, are kept as they stand.
QString unescapedAtForm(const QString& text) {
    if (!text.startsWith(QLatin1Char('@')))
        return text;
    if (text.endsWith(QLatin1Char(')'))) {
        if (text.startsWith(QLatin1String("@ByteArray(")))
            return text.mid(11, text.size() - 12);
        if (text.startsWith(QLatin1String("@String(")))
            return text.mid(8, text.size() - 9);
        if (text == QLatin1String("@Invalid()"))
            return QLatin1String("");
    }
    if (text.startsWith(QLatin1String("@@")))
        return text.mid(1);
    return text;
}

/// Whether the bytes end in the first bytes of a UTF-8 sequence that its last bytes would complete.
bool endsInCutSequence(QByteArrayView fed) {
    for (qsizetype back = 1; back <= 3 && back <= fed.size(); ++back) {
        const uchar ch = uchar(fed[fed.size() - back]);
        if ((ch & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for the lead
        const qsizetype length = ch >= 0xF0 && ch <= 0xF4  ? 4
                                 : ch >= 0xE0 && ch < 0xF0 ? 3
                                 : ch >= 0xC2 && ch < 0xE0 ? 2
                                                           : 1;
        if (length <= back)
            return false;
        // Only what a decoder keeps waiting for: the bytes so far must be a valid start of the sequence.
        QByteArray completed = fed.last(back).toByteArray();
        while (completed.size() < length)
            completed += char(ch == 0xE0 ? 0xA0 : ch == 0xF0 ? 0x90 : 0x80);
        return QString::fromUtf8(completed).size() == (length == 4 ? 2 : 1) &&
               !QString::fromUtf8(completed).contains(QChar::ReplacementCharacter);
    }
    return false;
}

/// A value as QSettings reads it: quoted parts, backslash escapes, an unquoted comma separating the items
/// of a list (given back joined with commas), spaces and tabs around unquoted text dropped, the "@" forms.
/// Text is decoded as one UTF-8 stream, as QSettings does, so a character whose bytes an escape or a quote
/// interrupts still reads as that character; the first bytes of a character cut off at the end read as
/// U+FFFD, where QSettings drops them.
QString unescapedValue(QByteArrayView raw) {
    static constexpr char kEscapes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                           {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                           {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    QStringList items;
    QString current;
    QStringDecoder fromUtf8(QStringDecoder::Utf8);
    QByteArray fed; // the last bytes given to the decoder, to tell a cut character at the end
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    qsizetype chopLimit = 0; // unquoted spaces after this are dropped at the end of an item
    auto chopTrailingBlanks = [&] {
        qsizetype end = current.size();
        while (end > chopLimit && isValueBlank(current.at(end - 1)))
            --end;
        current.truncate(end);
    };
    auto skipBlanks = [&](qsizetype& i) {
        while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t'))
            ++i;
        chopLimit = current.size();
    };
    bool endsInBackslash = false; // QSettings drops no blanks before a backslash that ends the value
    qsizetype i = 0;
    skipBlanks(i);
    while (i < raw.size()) {
        const char ch = raw[i];
        if (ch == '\\') {
            if (++i >= raw.size()) {
                endsInBackslash = true;
                break;
            }
            const char code = raw[i++];
            bool known = false;
            for (const auto& escape : kEscapes) {
                if (!known && code == escape[0]) {
                    current += QLatin1Char(escape[1]);
                    known = true;
                }
            }
            const int base = code == 'x' && i < raw.size() && hexValue(raw[i]) >= 0 ? 16
                             : octValue(code) >= 0                                  ? 8
                                                                                    : 0;
            if (!known && base != 0) {
                char16_t value = base == 8 ? char16_t(octValue(code)) : 0;
                auto digit = [&](char c) { return base == 16 ? hexValue(c) : octValue(c); };
                while (i < raw.size() && digit(raw[i]) >= 0)
                    value = char16_t(value * base + digit(raw[i++]));
                current += QChar(value);
            } else if (!known && isLineEnd(code) && i < raw.size() && isLineEnd(raw[i]) && raw[i] != code) {
                ++i; // a continued line
            }
            // "\x" without a digit and an unknown escape stand for nothing
            chopLimit = current.size();
        } else if (ch == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks(i);
        } else if (ch == ',' && !inQuotes) {
            if (!quoted)
                chopTrailingBlanks();
            items << current;
            isList = true;
            current.clear();
            quoted = false;
            ++i;
            skipBlanks(i);
        } else {
            qsizetype j = i + 1;
            while (j < raw.size() && raw[j] != '\\' && raw[j] != '"' && raw[j] != ',')
                ++j;
            const QByteArrayView run = raw.sliced(i, j - i);
            current += fromUtf8(run);
            fed = (fed + run.toByteArray()).right(3);
            i = j;
        }
    }
    if (!quoted && !endsInBackslash)
        chopTrailingBlanks();
    if (endsInCutSequence(fed))
        current += QChar::ReplacementCharacter;
    if (!isList)
        return unescapedAtForm(current);
    items << current;
    for (QString& item : items)
        item = unescapedAtForm(item);
    return items.join(QLatin1Char(','));
}

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

QByteArray IniText::escapedKey(const QString& key) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    QByteArray escaped;
    for (const QChar qch : key) {
        const char16_t ch = qch.unicode();
        if (ch == '/') {
            escaped += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
                   ch == '_' || ch == '-' || ch == '.') {
            escaped += char(ch);
        } else if (ch <= 0xFF) {
            escaped += '%';
            escaped += kHex[ch / 16];
            escaped += kHex[ch % 16];
        } else {
            escaped += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                escaped += kHex[(ch >> shift) & 0xF];
        }
    }
    return escaped;
}

QByteArray IniText::escapedValue(const QString& text) {
    const QString value = text.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + text : text;
    QByteArray escaped;
    bool needsQuotes = false;
    bool escapeNextIfHexDigit = false; // a hex digit right after "\xN" would be read as part of it
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t ch = value.at(i).unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        if (escapeNextIfHexDigit && ch < 0x80 && hexValue(char(ch)) >= 0) {
            escaped += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfHexDigit = false;
        switch (ch) {
        case '\a':
            escaped += "\\a";
            break;
        case '\b':
            escaped += "\\b";
            break;
        case '\f':
            escaped += "\\f";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\v':
            escaped += "\\v";
            break;
        case 0xFEFF:
            // Written as UTF-8 where the decoder starts (at the start, or after escapes only), a zero-width
            // no-break space would be read as a byte-order mark and dropped, here and by QSettings.
            escaped += "\\xfeff";
            escapeNextIfHexDigit = true;
            break;
        case '"':
        case '\\':
            escaped += '\\';
            escaped += char(ch);
            break;
        default:
            if (ch <= 0x1F) {
                escaped += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfHexDigit = true;
            } else {
                const bool pair =
                    value.at(i).isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate();
                escaped += QStringView(value).sliced(i, pair ? 2 : 1).toUtf8();
                i += pair ? 1 : 0;
            }
        }
    }
    if (needsQuotes || (!escaped.isEmpty() && (escaped.front() == ' ' || escaped.back() == ' ')))
        escaped = '"' + escaped + '"';
    return escaped;
}

} // namespace umbralux
