// SPDX-License-Identifier: MIT
#include "iniescaping.h"

#include <QStringDecoder>
#include <QStringList>

namespace umbralux::ini {
namespace {

/// The only blanks dropped around an unquoted value: a value that ends in another space (U+00A0, U+3000, a
/// form feed) keeps it.
bool isValueBlank(QChar ch) {
    return ch == QLatin1Char(' ') || ch == QLatin1Char('\t');
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

} // namespace

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

QByteArray escapedKey(const QString& key) {
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

QByteArray escapedValue(const QString& text) {
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

} // namespace umbralux::ini
