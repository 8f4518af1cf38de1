// SPDX-License-Identifier: MIT
#include "singleinstance_win.h"

#include "instancehandover_win.h"

#include <QAbstractEventDispatcher>
#include <QLoggingCategory>
#include <QObject>
#include <QtGlobal>
#include <algorithm>
#include <string>
#include <vector>
#include <windows.h>

#include <shellapi.h> // needs windows.h before it

Q_LOGGING_CATEGORY(lcInstance, "umbralux.instance", QtWarningMsg)

namespace umbralux {
namespace {

using std::chrono::milliseconds;
using namespace instancemessage;

/// How long a later start tries to hand its request over, from its first look for the instance to the
/// instance's answer. The instance answers within a few milliseconds unless it hangs; then this start covers
/// the screen itself rather than leaving it uncovered.
constexpr milliseconds kHandOverDeadline{500};
/// Lengthens a command line's hand-over, in milliseconds, where the system shows windows more slowly than
/// the deadline allows (the end-to-end test under Wine, whose first blank screen takes longer to appear).
constexpr char kCommandDeadlineVariable[] = "UMBRALUX_HANDOVER_DEADLINE_MS";
/// The longest hand-over that variable can ask for.
constexpr milliseconds kLongestCommandDeadline{10000};
/// How often a later start looks again for the window of an instance that holds the mutex but has not made
/// its window yet.
constexpr milliseconds kRetryInterval{20};
/// The longest path QueryFullProcessImageNameW answers, in characters.
constexpr DWORD kMaxPathLength = 32768;
/// How long the instance waits for a later start's window to take the reply to its command line. The start
/// waits for the instance meanwhile and takes it at once; one that has gone, or hangs, costs no more.
constexpr milliseconds kReplyTimeout{100};
/// What a later start's reply window answers when it took the reply.
constexpr LRESULT kReplyTaken = 0x554d0041;

/// The deadline of a command line's hand-over: kHandOverDeadline, unless the variable asks for longer.
milliseconds commandDeadline() {
    bool given = false;
    const int asked = qEnvironmentVariableIntValue(kCommandDeadlineVariable, &given);
    return given ? std::clamp(milliseconds(asked), kHandOverDeadline, kLongestCommandDeadline)
                 : kHandOverDeadline;
}

/// The full path of a process's program file; empty when it cannot be read.
std::wstring imagePath(HANDLE process) {
    std::wstring path(kMaxPathLength, L'\0');
    DWORD length = kMaxPathLength;
    if (!QueryFullProcessImageNameW(process, 0, path.data(), &length))
        return {};
    path.resize(length);
    return path;
}

/// The user a process runs as: its token's SID, byte for byte; empty when it cannot be read.
std::vector<BYTE> userOf(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    std::vector<BYTE> sid;
    if (size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        auto* user = static_cast<BYTE*>(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
        sid.assign(user, user + GetLengthSid(user));
    }
    CloseHandle(token);
    return sid;
}

/// File names compare as the file system does, without regard to case.
bool samePath(const std::wstring& a, const std::wstring& b) {
    return !a.empty() &&
           CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

struct WindowsSingleInstance::State final : InstanceSeat {
    explicit State(const QString& name)
        : mutexName(L"Local\\" + name.toStdWString() + L".instance"),
          className(name.toStdWString() + L".instance"), replyClassName(name.toStdWString() + L".reply"),
          ownImage(imagePath(GetCurrentProcess())), ownUser(userOf(GetCurrentProcess())) {}

    ~State() override {
        // The window goes first: a start that finds the mutex still held looks again until it is free.
        if (window)
            DestroyWindow(window);
        if (mutex) {
            if (owner)
                ReleaseMutex(mutex);
            CloseHandle(mutex);
        }
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    bool take() override {
        if (!mutex)
            mutex = CreateMutexW(nullptr, FALSE, mutexName.c_str());
        // Without a handle (an instance run as administrator keeps others from opening its mutex), its
        // window may still be there to take the request.
        if (!mutex)
            return false;
        const DWORD wait = WaitForSingleObject(mutex, 0);
        // Abandoned: the last instance ended without giving it up (it crashed), and this one takes over.
        owner = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        return owner;
    }

    Found find() override {
        Found result = Found::Nothing;
        for (HWND candidate = nullptr;
             (candidate = FindWindowExW(HWND_MESSAGE, candidate, className.c_str(), nullptr));) {
            if (ours(candidate)) {
                found = candidate;
                return Found::Ours;
            }
            result = Found::Foreign;
        }
        return result;
    }

    /// Gives the mutex up again: a later start that only asked the instance and found none.
    void giveUp() {
        if (owner)
            ReleaseMutex(mutex);
        owner = false;
    }

    std::optional<std::intptr_t> send(const Packet& message, milliseconds timeout) override {
        COPYDATASTRUCT data{message.tag, DWORD(message.data.size()),
                            const_cast<char*>(message.data.constData())};
        // A command line's reply comes to a window of this start's own, while it waits for the answer below
        // (a thread that waits in SendMessageTimeout takes the messages sent to its windows).
        commandReply.reset();
        HWND replyWindow = nullptr;
        if (message.tag == kCommandTag && !(replyWindow = makeReplyWindow())) {
            qCWarning(lcInstance) << "no window for the running instance's reply, error" << GetLastError();
            return std::nullopt;
        }
        // The user just started this process, so it may hand the foreground on: the window the instance
        // raises, or its blank screen, then gets the keyboard.
        AllowSetForegroundWindow(foundProcess);
        DWORD_PTR answer = 0;
        const bool answered = SendMessageTimeoutW(
            found, WM_COPYDATA, reinterpret_cast<WPARAM>(replyWindow), reinterpret_cast<LPARAM>(&data),
            SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, UINT(timeout.count()), &answer);
        const DWORD error = GetLastError();
        if (replyWindow)
            DestroyWindow(replyWindow);
        if (!answered) {
            qCWarning(lcInstance) << "no answer from the running instance, error" << error;
            return std::nullopt;
        }
        return static_cast<std::intptr_t>(answer);
    }

    void pause(milliseconds interval) override { Sleep(DWORD(interval.count())); }
    std::chrono::steady_clock::time_point now() override { return std::chrono::steady_clock::now(); }

    /// Whether the window belongs to a process of this program file that runs as this user; if so, that
    /// process is left in `process`.
    bool sameProgram(HWND candidate, DWORD& process) const {
        process = 0;
        if (!candidate || !GetWindowThreadProcessId(candidate, &process) || !process)
            return false;
        HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
        if (!handle)
            return false;
        const bool same =
            samePath(imagePath(handle), ownImage) && !ownUser.empty() && userOf(handle) == ownUser;
        CloseHandle(handle);
        return same;
    }

    bool ours(HWND candidate) {
        DWORD process = 0;
        if (!sameProgram(candidate, process))
            return false;
        foundProcess = process;
        return true;
    }

    /// A message-only window of the class `name` (the instance's, or the reply windows'), for this state.
    HWND makeMessageWindow(const std::wstring& name, WNDPROC procedure) {
        const HINSTANCE module = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = module;
        windowClass.lpszClassName = name.c_str();
        if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return nullptr;
        HWND made = CreateWindowExW(0, name.c_str(), name.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    module, this);
        // An instance run as administrator (from the installer's last page) still hears the user's starts,
        // and a start run as administrator still hears the instance's reply.
        if (made)
            ChangeWindowMessageFilterEx(made, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
        return made;
    }

    /// The window later starts send their requests to, on the calling (GUI) thread.
    bool makeWindow() {
        window = makeMessageWindow(className, windowProc);
        return window != nullptr;
    }

    /// The window a later start takes the reply to its command line on, for the time it waits.
    HWND makeReplyWindow() { return makeMessageWindow(replyClassName, replyWindowProc); }

    LRESULT received(StartRequest request) {
        return serving([&](const bool&) { return encodeReply(replyFor(serve(request))); });
    }

    /// Carries out a later start's command line and sends the reply to its window, which must belong to this
    /// program run by this user as the instance's does, before it confirms.
    LRESULT receivedCommand(const QStringList& arguments, HWND replyWindow) {
        DWORD process = 0;
        if (!sameProgram(replyWindow, process))
            return FALSE;
        return serving([&](const bool& answeredEarly) -> LRESULT {
            const Packet packet = encodeCommandReply(runCommand(arguments));
            if (answeredEarly)
                return encodeReply(Reply::WaitsForUser); // the start has ended already
            COPYDATASTRUCT data{packet.tag, DWORD(packet.data.size()),
                                const_cast<char*>(packet.data.constData())};
            DWORD_PTR taken = 0;
            if (!SendMessageTimeoutW(replyWindow, WM_COPYDATA, reinterpret_cast<WPARAM>(window),
                                     reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT,
                                     UINT(kReplyTimeout.count()), &taken) ||
                LRESULT(taken) != kReplyTaken) {
                qCWarning(lcInstance) << "a later start did not take the reply to its command line";
                return FALSE; // confirms nothing
            }
            return encodeReply(Reply::Served);
        });
    }

    /// Serves one message: `work` gets whether the start that sent it has been answered early meanwhile.
    template <class Work> LRESULT serving(Work work) {
        // A message box of the instance's own (the password reminder, an error report) keeps the work from
        // returning until the user closes it. When the event loop waits meanwhile, the start that sent the
        // request hears at once that it was taken, instead of covering the screen itself after its deadline.
        // ReplyMessage answers the request handled last, so only the innermost one answers early.
        struct Level {
            explicit Level(State& outer) : state(outer), level(++outer.depth) {}
            ~Level() {
                QObject::disconnect(waiting);
                --state.depth;
            }
            Level(const Level&) = delete;
            Level& operator=(const Level&) = delete;
            State& state;
            const int level;
            bool answered = false;
            QMetaObject::Connection waiting;
        } level(*this);
        level.waiting = QObject::connect(QAbstractEventDispatcher::instance(),
                                         &QAbstractEventDispatcher::aboutToBlock, [&level] {
                                             if (level.answered || level.level != level.state.depth)
                                                 return;
                                             level.answered = true;
                                             ReplyMessage(encodeReply(Reply::WaitsForUser));
                                         });
        return work(level.answered);
    }

    static LRESULT CALLBACK windowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        } else if (message == WM_COPYDATA) {
            auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (!state || !state->serve || !data)
                return FALSE; // confirms nothing
            if (const std::optional<StartRequest> request =
                    decodeRequest(data->dwData, data->lpData, data->cbData))
                return state->received(*request);
            const std::optional<QStringList> command =
                decodeCommand(data->dwData, data->lpData, data->cbData);
            if (command && state->runCommand)
                return state->receivedCommand(*command, reinterpret_cast<HWND>(wParam));
            return FALSE;
        }
        return DefWindowProcW(handle, message, wParam, lParam);
    }

    /// Takes the reply to this start's command line from the instance it was sent to, once.
    static LRESULT CALLBACK replyWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        } else if (message == WM_COPYDATA) {
            auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (!state || !data || state->commandReply || reinterpret_cast<HWND>(wParam) != state->found)
                return FALSE;
            state->commandReply = decodeCommandReply(data->dwData, data->lpData, data->cbData);
            return state->commandReply ? kReplyTaken : FALSE;
        }
        return DefWindowProcW(handle, message, wParam, lParam);
    }

    const std::wstring mutexName;
    const std::wstring className;
    const std::wstring replyClassName;
    const std::wstring ownImage;
    const std::vector<BYTE> ownUser;
    HANDLE mutex = nullptr;
    bool owner = false;
    HWND window = nullptr;
    /// The running instance's window, as find() found it last, and its process.
    HWND found = nullptr;
    DWORD foundProcess = 0;
    Serve serve;
    RunCommand runCommand;
    /// The reply to this start's command line, once its window took it.
    std::optional<CommandReply> commandReply;
    /// How many requests are being served at this moment, one inside another's message box.
    int depth = 0;
};

WindowsSingleInstance::WindowsSingleInstance(const QString& name) : m_state(std::make_unique<State>(name)) {}

WindowsSingleInstance::~WindowsSingleInstance() = default;

bool WindowsSingleInstance::claim(StartRequest request, Serve serve) {
    std::optional<Reply> reply;
    switch (claimInstance(*m_state, requestPacket(request), kHandOverDeadline, kRetryInterval, reply)) {
    case Claim::Instance:
        m_state->serve = std::move(serve);
        if (!m_state->makeWindow())
            qCWarning(lcInstance) << "later starts cannot reach this instance, error" << GetLastError();
        return true;
    case Claim::HandedOver:
        if (reply == Reply::NeedsPassword)
            qCInfo(lcInstance) << "the running instance shows the password reminder instead";
        return false;
    case Claim::Alone:
        break;
    }
    qCWarning(lcInstance) << "the running instance did not confirm the request; this start runs on its own";
    return true;
}

void WindowsSingleInstance::serveCommands(const RunCommand& run) {
    m_state->runCommand = run;
}

WindowsSingleInstance::CommandHandOver WindowsSingleInstance::handOverCommand(const QStringList& arguments) {
    using Outcome = CommandHandOver::Outcome;
    const std::optional<Packet> message = encodeCommand(arguments);
    if (!message)
        return {Outcome::NoAnswer, {}};
    std::optional<Reply> reply;
    switch (claimInstance(*m_state, *message, commandDeadline(), kRetryInterval, reply)) {
    case Claim::Instance:
        m_state->giveUp(); // the program's own start claims the session, should it run
        return {Outcome::NoInstance, {}};
    case Claim::HandedOver:
        if (reply == Reply::Served && m_state->commandReply)
            return {Outcome::Answered, *m_state->commandReply};
        // Taken, while a message box of the instance's own waits for the user: nothing more to say.
        if (reply == Reply::WaitsForUser)
            return {Outcome::Answered, {}};
        break;
    case Claim::Alone:
        break;
    }
    return {Outcome::NoAnswer, {}};
}

QStringList windowsCommandLine() {
    QStringList arguments;
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!list)
        return arguments;
    for (int i = 0; i < count; ++i)
        arguments << QString::fromWCharArray(list[i]);
    LocalFree(list);
    return arguments;
}

} // namespace umbralux
