// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace umbralux {

/// The product name: the options window's caption and the source of the application title.
inline constexpr char kProductName[] = "Umbralux Software";
/// Longest application title that is kept without cutting a further word.
inline constexpr int kTitleLimit = 40;

/// Drops the last word of the name (at least once), then further words until the title fits the limit.
/// Throws Failure when a cut finds no space to cut at.
QString cutTitle(const QString& name, int limit = kTitleLimit);

/// Derives the application title from the product name and installs it.
void SetAppTitle();
/// The caption of message boxes that have none of their own. Empty until SetAppTitle first runs.
QString appTitle();

/// True when the platform can tell the file's modification time; false for a missing file or folder, an
/// empty or invalid path. Never throws.
bool FileExists(const QString& path) noexcept;

} // namespace umbralux
