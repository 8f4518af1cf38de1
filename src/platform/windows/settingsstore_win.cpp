// SPDX-License-Identifier: MIT
#include "settingsstore_win.h"

#include "app/failure.h"

#include <QCoreApplication>
#include <windows.h>

namespace umbralux {

namespace {

constexpr wchar_t kRoot[] = L"Software\\VB and VBA Program Settings\\";

std::wstring subKey(const QString& application, const QString& section) {
    return kRoot + (application + QLatin1Char('\\') + section).toStdWString();
}

} // namespace

QString RegistrySettingsStore::location(const QString& application, const QString& section) const {
    return QStringLiteral("HKEY_CURRENT_USER\\") + QString::fromStdWString(subKey(application, section));
}

// The registry's own calls rather than QSettings: QSettings stores a text that starts with "@" as "@@...",
// and reads "@Variant(" and "@ByteArray(" texts as its own encodings, so values shared with earlier
// versions of the program would not read the same on both sides.
QString RegistrySettingsStore::GetSetting(const QString& application, const QString& section,
                                          const QString& key, const QString& defaultValue) {
    const std::wstring path = subKey(application, section);
    const std::wstring name = key.toStdWString();
    for (;;) {
        DWORD bytes = 0;
        LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                                      nullptr, &bytes);
        if (status != ERROR_SUCCESS)
            return defaultValue; // no such key or value, or one that is no text
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = DWORD(text.size() * sizeof(wchar_t));
        status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                              text.data(), &bytes);
        if (status == ERROR_MORE_DATA)
            continue; // written by another process between the two calls
        if (status != ERROR_SUCCESS)
            return defaultValue;
        text.resize(wcsnlen(text.c_str(), text.size())); // the size counts the terminating null
        return QString::fromStdWString(text);
    }
}

void RegistrySettingsStore::SaveSetting(const QString& application, const QString& section,
                                        const QString& key, const QString& text) {
    HKEY handle = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, subKey(application, section).c_str(), 0, nullptr, 0,
                                     KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (status == ERROR_SUCCESS) {
        const std::wstring data = text.toStdWString();
        status = RegSetValueExW(handle, key.toStdWString().c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(data.c_str()),
                                DWORD((data.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
    }
    if (status != ERROR_SUCCESS)
        throw Failure(QCoreApplication::translate("Failure", "the registry refused the value \"%1\": %2")
                          .arg(key, qt_error_string(int(status)).trimmed()));
}

} // namespace umbralux
