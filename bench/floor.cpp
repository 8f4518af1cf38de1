// SPDX-License-Identifier: MIT
// The floor of the benchmark: the least a Qt Widgets program does for the cycle that Umbralux runs. A
// 536x287 window with three buttons; the first covers the screen in black, ESC brings the window back.
// With --show it covers the screen at once, without the window first: the floor of a cold "umbralux --show".
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

#include <cstring>

class Curtain : public QWidget {
  public:
    explicit Curtain(QWidget& options) : m_options(options) {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setStyleSheet(QStringLiteral("background: black"));
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_Escape)
            return;
        hide();
        m_options.show();
        m_options.activateWindow();
    }

  private:
    QWidget& m_options;
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget options;
    options.setWindowTitle(QStringLiteral("Floor"));
    options.setFixedSize(536, 287);
    auto* show = new QPushButton(QStringLiteral("Show Screen"), &options);
    show->setGeometry(8, 8, 520, 27);
    (new QPushButton(QStringLiteral("Change Color"), &options))->setGeometry(8, 42, 408, 27);
    (new QPushButton(QStringLiteral("Reset Color To Default"), &options))->setGeometry(8, 76, 408, 27);
    Curtain curtain(options);
    // Without a window manager nobody acts on the full-screen request on X11, so the curtain takes the
    // screen's size itself. A Wayland compositor sizes it: given that size first, Qt's first buffer already
    // has it, the compositor's full-screen configure brings no new one, and sway waits out its transaction
    // timeout before it shows the curtain.
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    const auto cover = [&] {
        if (!wayland)
            curtain.setGeometry(options.screen()->geometry());
        curtain.showFullScreen();
        curtain.activateWindow();
        options.hide();
    };
    QObject::connect(show, &QPushButton::clicked, &curtain, cover);
    options.move(options.screen()->availableGeometry().center() - options.rect().center());
    if (argc > 1 && std::strcmp(argv[1], "--show") == 0)
        cover();
    else
        options.show();
    return app.exec();
}
