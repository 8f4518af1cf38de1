// SPDX-License-Identifier: MIT
// The settings store against QSettings, on settings files as a hand, an editor or another program may have
// left them. Each input is a whole file. Every top-level key must read through the store as QSettings reads
// it, apart from the readings where the store keeps text that QSettings loses (knownDifference()); and a save
// of one key through the store must leave the file reading, to QSettings, as before with that key changed.
// A mismatch prints the file and aborts.
//
// One source for two programs: a libFuzzer target when clang builds it, and, with seededmain.cpp, a plain
// program that feeds it files from a seeded generator.
#include "platform/unix/initext.h"
#include "platform/unix/settingsstore_unix.h"

#include <QDataStream>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace umbralux;

namespace {

constexpr char kSection[] = "settings";
/// The keys the program stores, which a save picks from as well as from the keys of the file.
const char* const kProgramKeys[] = {"Text1", "Option1", "Option2", "Check4", "Background Color"};
/// Texts a save stores: what the program writes and what needs quotes or escapes in the file.
const char* const kSavedTexts[] = {"True",
                                   "",
                                   "  pass word  ",
                                   ",;#=\"\\%[]",
                                   "@String(x)",
                                   "a\r\nb\tc",
                                   "\xC3\xA9\xE2\x9C\x93\xF0\x9F\x98\x80",
                                   "\\x41"};
/// The "@" forms that QSettings turns into values of other types and the store keeps as written.
const char* const kKeptForms[] = {"@Variant(", "@DateTime(", "@Rect(", "@Size(", "@Point("};

QString described(const QVariant& value) {
    QString text;
    QDebug(&text) << value;
    return text;
}

/// Whether QSettings can give the value of a key it lists: not of an empty one, and one with a slash at
/// either end or two together (from a section "[]" or "[a/]") reads as another key.
bool addressable(const QString& key) {
    return !key.isEmpty() && !key.startsWith(QLatin1Char('/')) && !key.endsWith(QLatin1Char('/')) &&
           !key.contains(QLatin1String("//"));
}

[[noreturn]] void mismatch(const QByteArray& file, const QString& what) {
    QString text;
    QDebug(&text) << file;
    std::fprintf(stderr, "settings store and QSettings differ: %s\nfile: %s\n", qPrintable(what),
                 qPrintable(text));
    std::abort();
}

/// A value exactly as QSettings holds it, for telling whether two readings are the same.
QByteArray serialized(const QVariant& value) {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << value;
    return bytes;
}

/// QSettings' reading of a value as text. "bytes": a "@ByteArray(...)" among it, whose characters QSettings
/// narrows to Latin-1; "other": a value of another type, from a form the store keeps as written.
struct TheirText {
    QString text;
    bool bytes = false;
    bool other = false;
};

TheirText textOf(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::UnknownType: // "@Invalid()"
        return {};
    case QMetaType::QString:
        return {value.toString()};
    case QMetaType::QByteArray:
        return {QString::fromLatin1(value.toByteArray()), true};
    case QMetaType::QStringList: // an unquoted comma
        return {value.toStringList().join(QLatin1Char(','))};
    case QMetaType::QVariantList: { // ... with an "@" form among the items
        TheirText joined;
        QStringList items;
        for (const QVariant& item : value.toList()) {
            const TheirText part = textOf(item);
            items << part.text;
            joined.bytes = joined.bytes || part.bytes;
            joined.other = joined.other || part.other;
        }
        joined.text = items.join(QLatin1Char(','));
        return joined;
    }
    default:
        return {QString(), false, true};
    }
}

/// Whether the store's reading differs from QSettings' only where the store keeps what QSettings loses: the
/// forms that stand for other types kept as written, the characters of "@ByteArray(...)" (compared here as
/// QSettings narrows them), and a character cut off at the end of the value, which the store reads as U+FFFD
/// where QSettings drops it (and which keeps an "@" form from being one). A list reads as its text in both.
bool knownDifference(const QString& ours, const TheirText& theirs) {
    for (const char* form : kKeptForms) {
        if (ours.contains(QLatin1String(form)))
            return true;
    }
    if (theirs.other)
        return false;
    // Beside bytes, the texts of a list are compared as narrowed as well.
    auto narrowed = [&](const QString& text) { return theirs.bytes ? text.toLatin1() : text.toUtf8(); };
    if (narrowed(ours) == narrowed(theirs.text))
        return true;
    return ours.endsWith(QChar::ReplacementCharacter) &&
           (narrowed(ours.chopped(1)) == narrowed(theirs.text) ||
            ours.section(QLatin1Char(','), -1).startsWith(QLatin1Char('@')));
}

/// Every top-level key: the same keys, each read alike.
void compareReadings(const QByteArray& file, IniSettingsStore& store, const QString& application,
                     QSettings& qt) {
    QSet<QString> ourKeys;
    for (const QString& key : IniText(file).keys()) {
        // A key with a slash is, to QSettings, a key in a group, which a section of that name fills as well;
        // the program's keys have none.
        if (!key.contains(QLatin1Char('/')))
            ourKeys.insert(key);
    }
    const QStringList theirKeys = qt.childKeys();
    if (ourKeys != QSet<QString>(theirKeys.begin(), theirKeys.end()))
        mismatch(file,
                 QStringLiteral("keys %1 and %2")
                     .arg(described(QStringList(ourKeys.begin(), ourKeys.end())), described(theirKeys)));
    for (const QString& key : theirKeys) {
        if (!addressable(key))
            continue; // "=x"
        const QString ours = store.GetSetting(application, QLatin1String(kSection), key, QString());
        const QVariant theirs = qt.value(key);
        if (ours != theirs.toString() && !knownDifference(ours, textOf(theirs)))
            mismatch(file, QStringLiteral("key %1: %2 and %3").arg(key, described(ours), described(theirs)));
    }
}

/// A key and a text to save, picked by the file's bytes, so that an input always makes the same save.
std::pair<QString, QString> pickSave(const QByteArray& file) {
    const size_t hash = qHash(file);
    QStringList keys;
    for (const char* key : kProgramKeys)
        keys << QLatin1String(key);
    for (const QString& key : IniText(file).keys()) {
        if (!key.contains(QLatin1Char('/')) && !key.isEmpty())
            keys << key;
    }
    const size_t texts = std::size(kSavedTexts);
    const size_t pick = (hash / keys.size()) % (texts + 1);
    // One more text from the file's own bytes, with whatever characters they hold.
    const QString text =
        pick < texts ? QString::fromUtf8(kSavedTexts[pick]) : QString::fromUtf8(file.right(12));
    return {keys.at(qsizetype(hash % keys.size())), text};
}

/// Saves one key through the store: QSettings then reads the saved text, and every other value as before.
void compareAfterSave(const QByteArray& file, IniSettingsStore& store, const QString& application,
                      QSettings& before) {
    const auto [key, text] = pickSave(file);
    // The text the store reads already: the file keeps its bytes, which QSettings may read otherwise.
    const bool kept = store.GetSetting(application, QLatin1String(kSection), key, QString()) == text;
    store.SaveSetting(application, QLatin1String(kSection), key, text);
    if (store.GetSetting(application, QLatin1String(kSection), key, QString()) != text)
        mismatch(file, QStringLiteral("saved %1 as %2, the store reads it back as %3")
                           .arg(key, described(text),
                                described(store.GetSetting(application, QLatin1String(kSection), key, {}))));
    QSettings after(store.location(application, QLatin1String(kSection)), QSettings::IniFormat);
    if (after.value(key).toString() != text && !(kept && knownDifference(text, textOf(after.value(key)))))
        mismatch(file, QStringLiteral("saved %1 as %2, QSettings reads %3")
                           .arg(key, described(text), described(after.value(key))));
    QStringList expectedKeys = before.allKeys();
    if (!expectedKeys.contains(key))
        expectedKeys << key;
    const QStringList keysAfter = after.allKeys();
    if (QSet<QString>(expectedKeys.begin(), expectedKeys.end()) !=
        QSet<QString>(keysAfter.begin(), keysAfter.end()))
        mismatch(file, QStringLiteral("saving %1 changed the keys to %2").arg(key, described(keysAfter)));
    for (const QString& other : keysAfter) {
        if (other != key && addressable(other) &&
            serialized(after.value(other)) != serialized(before.value(other)))
            mismatch(file,
                     QStringLiteral("saving %1 changed %2 from %3 to %4")
                         .arg(key, other, described(before.value(other)), described(after.value(other))));
    }
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // QSettings' warnings about what it makes of "@Variant(...)" are no finding, and only slow a run.
    static const QtMessageHandler quiet =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    Q_UNUSED(quiet);
    static QTemporaryDir home;
    static quint64 run = 0;
    // A folder and file name of each input's own: QSettings keeps what it read of a file and takes an
    // unchanged size and time for an unchanged file.
    const QString application = QStringLiteral("run%1").arg(++run);
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    IniSettingsStore store(home.path());
    const QString copy = home.filePath(application + QStringLiteral(".ini"));
    writeFile(copy, file);
    writeFile(store.location(application, QLatin1String(kSection)), file);
    {
        QSettings qt(copy, QSettings::IniFormat);
        compareReadings(file, store, application, qt);
        compareAfterSave(file, store, application, qt);
    }
    QFile::remove(copy);
    QDir(home.filePath(application)).removeRecursively();
    return 0;
}
