// SPDX-License-Identifier: MIT
#pragma once

class QKeyEvent;

namespace umbralux {

/// Key codes as the key handlers expect them (Windows virtual-key numbering, which the stored choices and the
/// handlers were written for): Escape is 27, letters are their capitals, Shift 16 and so on.
inline constexpr int kKeyCodeNone = 0;
inline constexpr int kKeyCodeEscape = 27;
/// Given to a real key that has no code of its own (a media key, a key of a foreign layout): it is still a
/// key.
inline constexpr int kKeyCodeOther = 0xFF;

/// The key code of a Qt key; kKeyCodeOther for a real key without a code of its own, 0 for no key at all.
int keyCodeForQtKey(int qtKey);
int keyCodeFor(const QKeyEvent& event);

} // namespace umbralux
