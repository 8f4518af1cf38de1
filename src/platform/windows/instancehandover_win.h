// SPDX-License-Identifier: MIT
#pragma once

#include "app/startrequest.h"

#include <QByteArray>
#include <QStringList>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace umbralux {

/// What a later start says to the running instance in a WM_COPYDATA message, and what the instance answers.
/// The message's tag (COPYDATASTRUCT::dwData) names the program and what the data is: a request's code in
/// four bytes, or a whole command line. The answers are codes of their own rather than 0 and 1, so that a
/// window that handles WM_COPYDATA the default way (FALSE) or merely says it took the data (TRUE) confirms
/// nothing. A command line's status and text come back in a WM_COPYDATA message of their own, sent to the
/// window the later start names in the message's WPARAM, before the instance answers.
namespace instancemessage {

/// Marks a request of ours in COPYDATASTRUCT::dwData: "UMBR".
constexpr std::uintptr_t kRequestTag = 0x554d4252;
/// Marks a whole command line: "UMBC". The data is its arguments in UTF-16, the program's name first, each
/// ended by a null character.
constexpr std::uintptr_t kCommandTag = 0x554d4243;
/// Marks the instance's reply to a command line: "UMBA". The data is the status in four bytes, then the
/// text to print in UTF-16.
constexpr std::uintptr_t kCommandReplyTag = 0x554d4241;
/// The most a command line's message may hold: Windows' own longest command line (32767 characters) fits.
constexpr std::size_t kMaxCommandBytes = 65536;
/// The most arguments a command line's message may hold; the program takes a handful.
constexpr int kMaxCommandArguments = 256;
/// The most a reply's message may hold; the state as JSON takes a few kilobytes.
constexpr std::size_t kMaxReplyBytes = 262144;

/// One message's tag and data.
struct Packet {
    std::uintptr_t tag = 0;
    QByteArray data;
};

/// What the running instance answers.
enum class Reply {
    Served,        ///< Carried out.
    NeedsPassword, ///< The blank screen was refused; the options window shows the password reminder.
    /// Taken, but the instance waits for the user to close a message box of its own before it can say more.
    WaitsForUser,
};

/// The request's code, the four bytes of the message's data.
std::uint32_t encodeRequest(StartRequest request);
/// The request a received message carries, or nothing when the message is not a request of ours.
std::optional<StartRequest> decodeRequest(std::uintptr_t tag, const void* data, std::size_t size);
/// The message that carries a request.
Packet requestPacket(StartRequest request);

/// The message that carries a command line; nothing when it is too long for one.
std::optional<Packet> encodeCommand(const QStringList& arguments);
/// The command line a received message carries, or nothing when it is not one of ours or breaks a limit.
std::optional<QStringList> decodeCommand(std::uintptr_t tag, const void* data, std::size_t size);
/// The message that carries the instance's reply; a text beyond the limit is cut.
Packet encodeCommandReply(const SingleInstance::CommandReply& reply);
/// The reply a received message carries, or nothing when it is not one of ours or breaks the limit.
std::optional<SingleInstance::CommandReply> decodeCommandReply(std::uintptr_t tag, const void* data,
                                                               std::size_t size);

Reply replyFor(ServeResult result);
/// The window procedure's return value for the answer.
std::intptr_t encodeReply(Reply reply);
/// What a return value says, or nothing when it is not one of our answers: then nothing is confirmed.
std::optional<Reply> decodeReply(std::intptr_t value);

} // namespace instancemessage

/// The system's side of claiming the session, one call for each step, so that the order of the steps and
/// the deadline can be followed without Windows.
class InstanceSeat {
  public:
    /// What a look for the running instance's window found.
    enum class Found {
        Nothing, ///< No window yet: the instance holds the mutex but is still starting (or ending).
        Ours,    ///< The window of this program file, run by this user.
        Foreign, ///< Only windows of our class that belong to another program or another user.
    };

    virtual ~InstanceSeat() = default;
    /// Takes the session's mutex when no instance holds it; true when this process holds it now.
    virtual bool take() = 0;
    virtual Found find() = 0;
    /// Sends the message to the window found last and waits at most `timeout` for the answer; nothing when
    /// none came (the time ran out, the instance hangs or ended, the message could not be sent).
    virtual std::optional<std::intptr_t> send(const instancemessage::Packet& message,
                                              std::chrono::milliseconds timeout) = 0;
    virtual void pause(std::chrono::milliseconds interval) = 0;
    virtual std::chrono::steady_clock::time_point now() = 0;
};

/// How a claim ended.
enum class Claim {
    Instance,   ///< This process holds the mutex: it is the session's instance.
    HandedOver, ///< The running instance confirmed that it took the request.
    Alone,      ///< Nothing confirmed within the deadline: this process runs as an instance of its own.
};

/// Claims the session: takes the mutex, or else looks for the running instance's window and hands the
/// message (a request, or a command line) to it, looking again every `retryInterval` while the instance is
/// not (or no longer) there, until `deadline` has passed since the call. The answer, or its absence, is left
/// in `reply`.
Claim claimInstance(InstanceSeat& seat, const instancemessage::Packet& message,
                    std::chrono::milliseconds deadline, std::chrono::milliseconds retryInterval,
                    std::optional<instancemessage::Reply>& reply);

} // namespace umbralux
