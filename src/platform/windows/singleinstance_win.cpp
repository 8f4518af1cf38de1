// SPDX-License-Identifier: MIT
#include "singleinstance_win.h"

#include "instancehandover_win.h"

#include <QAbstractEventDispatcher>
#include <QLoggingCategory>
#include <QObject>
#include <string>
#include <vector>
#include <windows.h>

Q_LOGGING_CATEGORY(lcInstance, "umbralux.instance", QtWarningMsg)

namespace umbralux {
namespace {

using std::chrono::milliseconds;
using namespace instancemessage;

/// How long a later start tries to hand its request over, from its first look for the instance to the
/// instance's answer. The instance answers within a few milliseconds unless it hangs; then this start covers
/// the screen itself rather than leaving it uncovered.
constexpr milliseconds kHandOverDeadline{500};
/// How often a later start looks again for the window of an instance that holds the mutex but has not made
/// its window yet.
constexpr milliseconds kRetryInterval{20};
/// The longest path QueryFullProcessImageNameW answers, in characters.
constexpr DWORD kMaxPathLength = 32768;

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
          className(name.toStdWString() + L".instance"), ownImage(imagePath(GetCurrentProcess())),
          ownUser(userOf(GetCurrentProcess())) {}

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

    std::optional<std::intptr_t> send(StartRequest request, milliseconds timeout) override {
        std::uint32_t code = encodeRequest(request);
        COPYDATASTRUCT data{kRequestTag, sizeof code, &code};
        // The user just started this process, so it may hand the foreground on: the window the instance
        // raises, or its blank screen, then gets the keyboard.
        AllowSetForegroundWindow(foundProcess);
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(found, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                 SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, UINT(timeout.count()), &answer)) {
            qCWarning(lcInstance) << "no answer from the running instance, error" << GetLastError();
            return std::nullopt;
        }
        return static_cast<std::intptr_t>(answer);
    }

    void pause(milliseconds interval) override { Sleep(DWORD(interval.count())); }
    std::chrono::steady_clock::time_point now() override { return std::chrono::steady_clock::now(); }

    /// Whether the window belongs to a process of this program file that runs as this user.
    bool ours(HWND candidate) {
        DWORD process = 0;
        if (!GetWindowThreadProcessId(candidate, &process) || !process)
            return false;
        HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
        if (!handle)
            return false;
        const bool same =
            samePath(imagePath(handle), ownImage) && !ownUser.empty() && userOf(handle) == ownUser;
        CloseHandle(handle);
        if (same)
            foundProcess = process;
        return same;
    }

    /// The window later starts send their requests to, on the calling (GUI) thread.
    bool makeWindow() {
        const HINSTANCE module = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = module;
        windowClass.lpszClassName = className.c_str();
        if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return false;
        window = CreateWindowExW(0, className.c_str(), className.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, module, this);
        if (!window)
            return false;
        // An instance run as administrator (from the installer's last page) still hears the user's starts.
        ChangeWindowMessageFilterEx(window, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
        return true;
    }

    LRESULT received(StartRequest request) {
        // A message box of the instance's own (the password reminder, an error report) keeps `serve` from
        // returning until the user closes it. When the event loop waits meanwhile, the start that sent the
        // request hears at once that it was taken, instead of covering the screen itself after its deadline.
        // ReplyMessage answers the request handled last, so only the innermost one answers early.
        struct Level {
            explicit Level(State& serving) : state(serving), level(++serving.depth) {}
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
        return encodeReply(replyFor(serve(request)));
    }

    static LRESULT CALLBACK windowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        } else if (message == WM_COPYDATA) {
            auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            const std::optional<StartRequest> request =
                data ? decodeRequest(data->dwData, data->lpData, data->cbData) : std::nullopt;
            if (!state || !state->serve || !request)
                return FALSE; // confirms nothing
            return state->received(*request);
        }
        return DefWindowProcW(handle, message, wParam, lParam);
    }

    const std::wstring mutexName;
    const std::wstring className;
    const std::wstring ownImage;
    const std::vector<BYTE> ownUser;
    HANDLE mutex = nullptr;
    bool owner = false;
    HWND window = nullptr;
    /// The running instance's window, as find() found it last, and its process.
    HWND found = nullptr;
    DWORD foundProcess = 0;
    Serve serve;
    /// How many requests are being served at this moment, one inside another's message box.
    int depth = 0;
};

WindowsSingleInstance::WindowsSingleInstance(const QString& name) : m_state(std::make_unique<State>(name)) {}

WindowsSingleInstance::~WindowsSingleInstance() = default;

bool WindowsSingleInstance::claim(StartRequest request, Serve serve) {
    std::optional<Reply> reply;
    switch (claimInstance(*m_state, request, kHandOverDeadline, kRetryInterval, reply)) {
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

} // namespace umbralux
