// SPDX-License-Identifier: MIT
#include "initext.h"

namespace umbralux {
namespace {

/// The section whose keys are the top-level keys.
constexpr char kGeneralSection[] = "General";

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\f' || ch == '\v';
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

QByteArrayView trimmed(QByteArrayView text) {
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

/// "%XX" and "%UXXXX" decoded, a backslash read as the slash it stands for.
QString unescapedKey(QByteArrayView raw) {
    QString key;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char ch = raw[i];
        if (ch == '\\') {
            key += QLatin1Char('/');
            continue;
        }
        if (ch == '%') {
            const bool wide = i + 1 < raw.size() && raw[i + 1] == 'U';
            const int digits = wide ? 4 : 2;
            const qsizetype first = i + (wide ? 2 : 1);
            int value = 0;
            bool ok = first + digits <= raw.size();
            for (int d = 0; ok && d < digits; ++d) {
                const int h = hexValue(raw[first + d]);
                ok = h >= 0;
                value = value * 16 + h;
            }
            if (ok) {
                key += QChar(char16_t(value));
                i = first + digits - 1;
                continue;
            }
        }
        key += QString::fromUtf8(raw.sliced(i, 1));
    }
    return key;
}

/// A value as QSettings reads it: quoted parts, backslash escapes, an unquoted comma separating the items
/// of a list (given back joined with commas), blanks around unquoted text dropped, "@@" for a leading "@".
QString unescapedValue(QByteArrayView raw) {
    static constexpr char kEscapes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                           {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                           {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    QStringList items;
    QString current;
    bool inQuotes = false;
    bool quoted = false;
    qsizetype keepUpTo = 0; // unquoted blanks after this are dropped at the end of an item
    auto finishItem = [&] {
        if (!quoted) {
            qsizetype end = current.size();
            while (end > keepUpTo && current.at(end - 1).isSpace())
                --end;
            current.truncate(end);
        }
        items << current;
        current.clear();
        quoted = false;
        keepUpTo = 0;
    };
    auto skipBlanks = [&](qsizetype& i) {
        while (i < raw.size() && isBlank(raw[i]))
            ++i;
    };
    qsizetype i = 0;
    skipBlanks(i);
    while (i < raw.size()) {
        const char ch = raw[i];
        if (ch == '\\') {
            if (++i >= raw.size())
                break;
            const char code = raw[i++];
            bool known = false;
            for (const auto& escape : kEscapes) {
                if (code == escape[0]) {
                    current += QLatin1Char(escape[1]);
                    known = true;
                }
            }
            if (!known && (code == 'x' || (code >= '0' && code <= '7'))) {
                const int base = code == 'x' ? 16 : 8;
                char16_t value = code == 'x' ? 0 : char16_t(code - '0');
                while (i < raw.size() && hexValue(raw[i]) >= 0 && hexValue(raw[i]) < base)
                    value = char16_t(value * base + hexValue(raw[i++]));
                current += QChar(value);
            } else if (!known && isLineEnd(code) && i < raw.size() && isLineEnd(raw[i]) && raw[i] != code) {
                ++i; // a continued line
            }
            keepUpTo = current.size();
        } else if (ch == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks(i);
            keepUpTo = current.size();
        } else if (ch == ',' && !inQuotes) {
            finishItem();
            ++i;
            skipBlanks(i);
        } else {
            qsizetype j = i + 1;
            while (j < raw.size() && raw[j] != '\\' && raw[j] != '"' && raw[j] != ',')
                ++j;
            // The runs end at ASCII characters only, so no character of valid UTF-8 is split between them.
            current += QString::fromUtf8(raw.sliced(i, j - i));
            if (inQuotes)
                keepUpTo = current.size();
            i = j;
        }
    }
    finishItem();
    QString text = items.join(QLatin1Char(','));
    if (text.isNull())
        text = QLatin1String(""); // present and empty, unlike an absent key
    if (text.startsWith(QLatin1String("@@")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("@ByteArray(")) && text.endsWith(QLatin1Char(')')))
        text = text.mid(11, text.size() - 12);
    else if (text == QLatin1String("@Invalid()"))
        text.clear();
    return text;
}

} // namespace

IniText::IniText(QByteArray bytes) : m_bytes(std::move(bytes)) {
    parse();
}

void IniText::parse() {
    const QByteArrayView data(m_bytes);
    const qsizetype n = data.size();
    bool topLevel = true;
    qsizetype pos = 0;
    while (pos < n) {
        while (pos < n && (isBlank(data[pos]) || isLineEnd(data[pos])))
            ++pos;
        if (pos >= n)
            break;
        qsizetype lineEnd = pos;
        while (lineEnd < n && !isLineEnd(data[lineEnd]))
            ++lineEnd;
        if (data[pos] == ';') { // a comment line
            pos = lineEnd;
            continue;
        }
        if (data[pos] == '[') {
            const qsizetype close = data.indexOf(']', pos);
            const qsizetype nameEnd = close >= 0 && close < lineEnd ? close : lineEnd;
            topLevel = unescapedKey(trimmed(data.sliced(pos + 1, nameEnd - pos - 1))) ==
                       QLatin1String(kGeneralSection);
            if (topLevel) {
                m_hasTopLevel = true;
                m_topLevelEnd = lineEnd;
            }
            pos = lineEnd;
            continue;
        }
        // An entry: "key = value", where a quoted value or a backslash may carry it over line ends and an
        // unquoted ";" starts a comment.
        qsizetype equals = -1;
        bool inQuotes = false;
        qsizetype i = pos;
        for (; i < n; ++i) {
            const char ch = data[i];
            if (ch == '=' && !inQuotes && equals < 0)
                equals = i;
            else if ((isLineEnd(ch) || ch == ';') && !inQuotes) // the end, or a comment after the value
                break;
            else if (ch == '\\' && i + 1 < n)
                i += (i + 2 < n && isLineEnd(data[i + 1]) && isLineEnd(data[i + 2]) &&
                      data[i + 1] != data[i + 2])
                         ? 2
                         : 1;
            else if (ch == '"')
                inQuotes = !inQuotes;
        }
        const qsizetype valueEnd = i;
        while (i < n && !isLineEnd(data[i]))
            ++i;
        if (topLevel) {
            m_hasTopLevel = true;
            m_topLevelEnd = i;
            if (equals > pos) {
                const QString key = unescapedKey(trimmed(data.sliced(pos, equals - pos)));
                m_entries.push_back(
                    {key, pos, valueEnd, data.sliced(equals + 1, valueEnd - equals - 1).toByteArray()});
            }
        }
        pos = i;
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
        return result.prepend("[" + QByteArray(kGeneralSection) + "]\n" + line +
                              (m_bytes.isEmpty() ? "\n" : "\n\n"));
    if (m_topLevelEnd >= m_bytes.size())
        return result.append('\n' + line + '\n');
    return result.insert(m_topLevelEnd, '\n' + line);
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
