// SPDX-License-Identifier: MIT
#pragma once

namespace umbralux {

/// In a release build, keeps the program's memory from core dumps and from debuggers of the same user
/// (Linux); a debug build keeps both, for the developer.
void keepMemoryPrivate();

} // namespace umbralux
