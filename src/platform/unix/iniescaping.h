// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

/// Keys and values of the settings store's INI file as QSettings writes and reads them: the escapes, the
/// quotes, the lists and the "@" forms, apart from how the file is cut into lines and sections (IniText).
namespace umbralux::ini {

/// A line break, which ends a line of the file outside quotes and after no backslash.
inline bool isLineEnd(char ch) {
    return ch == '\n' || ch == '\r';
}

/// A key as it is written in the file: letters, digits and "_-." as they are, "%XX" for the rest.
QByteArray escapedKey(const QString& key);
/// A key as QSettings reads it: "%XX" and "%UXXXX" decoded, a backslash read as the slash it stands for.
QString unescapedKey(QByteArrayView raw);

/// A value as it is written in the file: quoted when blanks at either end or ",;=" need it, control
/// characters, U+FEFF, quotes and backslashes escaped, everything else UTF-8.
QByteArray escapedValue(const QString& text);
/// A value as QSettings reads it: quoted parts, backslash escapes, an unquoted comma separating the items
/// of a list (given back joined with commas), spaces and tabs around unquoted text dropped, the "@" forms.
/// Text is decoded as one UTF-8 stream, as QSettings does, so a character whose bytes an escape or a quote
/// interrupts still reads as that character; the first bytes of a character cut off at the end read as
/// U+FFFD, where QSettings drops them.
QString unescapedValue(QByteArrayView raw);

} // namespace umbralux::ini
