// SPDX-License-Identifier: MIT
#pragma once

#include "app/colourpicker.h"
#include "app/dialogs.h"
#include "app/inputcontext.h"
#include "app/keepawake.h"
#include "app/keepawakesummary.h"
#include "app/monitorpower.h"
#include "app/pageopener.h"
#include "app/platform.h"
#include "app/pointerdisplay.h"
#include "app/programend.h"
#include "app/randomsource.h"
#include "app/settingsstore.h"
#include "app/windowhints.h"

#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

namespace umbralux::test {

/// Records every message box instead of showing it.
class RecordingDialogs final : public Dialogs {
  public:
    void showErrorReport(const QString& message) override { reports << message; }
    void showMessage(const QString& text, const QString& caption) override {
        messages << text;
        captions << caption;
    }
    QStringList reports;
    QStringList messages;
    QStringList captions;
};

class RecordingPageOpener final : public PageOpener {
  public:
    void openPage(const QString& address) override {
        opened << address;
        if (fail)
            throw Failure(QStringLiteral("File not found: xdg-open"));
    }
    QStringList opened;
    bool fail = false;
};

/// Gives the same draw every time.
class FixedRandomSource final : public RandomSource {
  public:
    double nextUnit() override { return value; }
    double value = 0.5;
};

class RecordingProgramEnd final : public ProgramEnd {
  public:
    void endProgram(int status) override { statuses.push_back(status); }
    std::vector<int> statuses;
};

/// A display counter that starts where the test wants it and counts the calls.
class CountingPointerDisplay final : public PointerDisplay {
  public:
    int ShowCursor(bool show) override {
        ++calls;
        count += show ? 1 : -1;
        return count;
    }
    int count = 0;
    int calls = 0;
};

class RecordingKeepAwake final : public KeepAwake {
  public:
    void setHeld(bool on) override {
        held = on;
        log << (on ? QStringLiteral("hold") : QStringLiteral("release"));
    }
    void signalUserActivity() override { log << QStringLiteral("activity"); }
    void endUserActivity() override { log << QStringLiteral("end activity"); }
    void keepSystemAwake() override { log << QStringLiteral("system"); }
    QString describe() const override { return QStringLiteral("recording"); }
    void report(KeepAwakeSummary& summary) const override { summary.uses(QStringLiteral("recording")); }
    bool held = false;
    QStringList log;
};

/// Answers the colour dialog as the test says, and records what it was opened with.
class ScriptedColourPicker final : public ColourPicker {
  public:
    enum class Answer { Choose, Cancel, Fail };
    std::optional<QColor> pickColour(QWidget* owner, const QColor& initial) override {
        owners << owner;
        offered << initial;
        switch (answer) {
        case Answer::Choose:
            return chosen;
        case Answer::Cancel:
            return std::nullopt;
        case Answer::Fail:
            break;
        }
        throw Failure(QStringLiteral("Unexpected error"));
    }
    Answer answer = Answer::Cancel;
    QColor chosen;
    QList<QWidget*> owners;
    QList<QColor> offered;
};

/// Records the windows it was asked to leave out of the task bar, and those it was asked to activate.
class RecordingWindowHints final : public WindowHints {
  public:
    void skipTaskbar(QWidget* window) override { skipped << window; }
    void activate(QWidget* window) override { activated << window; }
    void fillOnShow(QWidget*, const QColor&) override {}
    QList<QWidget*> skipped;
    QList<QWidget*> activated;
};

/// Records each power change; refuses with `refusal` when it is set.
class RecordingMonitorPower final : public MonitorPower {
  public:
    QString powerOff() override {
        log << QStringLiteral("off");
        return refusal;
    }
    void powerOn() override { log << QStringLiteral("on"); }
    QString refusal;
    QStringList log;
};

/// Counts the preparations; each says it was done unless `prepared` is false.
class RecordingInputContext final : public InputContext {
  public:
    bool prepare() override {
        ++preparations;
        return prepared;
    }
    bool prepared = true;
    int preparations = 0;
};

/// The settings store of one test: a map, with a folder of its own that tests use as the program folder.
class TestStore final : public SettingsStore {
  public:
    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) override;
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& text) override;
    QString location(const QString& application, const QString& section) const override;

    /// The stored text, or a null string when the key is absent.
    QString value(const QString& key) const { return m_values.value(key); }
    void set(const QString& key, const QString& text) { m_values.insert(key, text); }
    QStringList keys() const { return m_values.keys(); }
    QString folder() const { return m_dir.path(); }

    /// While set, every save fails with this cause.
    std::optional<QString> failure;

  private:
    QMap<QString, QString> m_values;
    QTemporaryDir m_dir;
};

/// All services faked; `services` is what the program under test is given, with `store` or the store the
/// test hands in.
struct FakePlatform {
    explicit FakePlatform(SettingsStore* realStore = nullptr)
        : settingsStore(realStore ? *realStore : store) {}

    TestStore store;
    SettingsStore& settingsStore;
    RecordingDialogs dialogs;
    RecordingPageOpener pageOpener;
    FixedRandomSource random;
    RecordingProgramEnd programEnd;
    CountingPointerDisplay pointerDisplay;
    RecordingKeepAwake keepAwake;
    ScriptedColourPicker colourPicker;
    RecordingWindowHints windowHints;
    RecordingMonitorPower monitorPower;
    RecordingInputContext inputContext;
    Platform services{settingsStore, dialogs,      pageOpener,  random,       programEnd,  pointerDisplay,
                      keepAwake,     colourPicker, windowHints, monitorPower, inputContext};
};

} // namespace umbralux::test
