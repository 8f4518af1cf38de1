// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

namespace umbralux {

/// Where the skin file lies below the program folder. A skin is a Qt style sheet in UTF-8 text.
inline constexpr char kSkinFile[] = "/x/o.cjs";
/// No real skin comes near this size; a larger file is reported as unreadable instead of being read.
inline constexpr qint64 kMaxSkinFileBytes = qint64{512} * 1024;

/// The skin engine of the options window: loads a skin and applies it to a window and, when asked to,
/// to every window the program opens afterwards.
class SkinFramework : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    /// Reads the skin file; the section names a part of a skin with several, and ours have one. Throws
    /// Failure when the file cannot be read or is not UTF-8 text, and keeps the skin it had.
    void LoadSkin(const QString& path, const QString& section);
    /// Apply options. Bit 1 asks for the window's frame as well as its client area; on the desktops the
    /// program runs on, the window manager draws the frame, so a style sheet covers the client area either
    /// way.
    int ApplyOptions = 0;
    /// Carries the skin over to every window opened later.
    bool AutoApplyNewWindows = false;
    /// Kept for the same meaning across threads; the program has one thread.
    bool AutoApplyNewThreads = false;
    /// Applies the loaded skin to the window with this native handle.
    void ApplyWindow(qulonglong windowHandle);

    const QString& styleSheet() const { return m_styleSheet; }

  private:
    QString m_styleSheet;
};

/// Gives the window the look of the skin file beside the program, when there is one.
void ApplySkin(QWidget& window, const QString& programFolder);

} // namespace umbralux
