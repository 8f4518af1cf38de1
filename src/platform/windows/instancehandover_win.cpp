// SPDX-License-Identifier: MIT
#include "instancehandover_win.h"

#include <algorithm>
#include <cstring>

namespace umbralux {
namespace instancemessage {
namespace {

// The codes on the wire: they stay as they are, whatever the enumerations become.
constexpr std::uint32_t kOptionsWindowCode = 1;
constexpr std::uint32_t kShowScreenCode = 2;
constexpr std::uint32_t kNothingCode = 3;

constexpr std::intptr_t kServedReply = 0x554d0001;
constexpr std::intptr_t kNeedsPasswordReply = 0x554d0002;
constexpr std::intptr_t kWaitsForUserReply = 0x554d0003;

} // namespace

std::uint32_t encodeRequest(StartRequest request) {
    switch (request) {
    case StartRequest::OptionsWindow:
        return kOptionsWindowCode;
    case StartRequest::ShowScreen:
        return kShowScreenCode;
    case StartRequest::Nothing:
        break;
    }
    return kNothingCode;
}

std::optional<StartRequest> decodeRequest(std::uintptr_t tag, const void* data, std::size_t size) {
    std::uint32_t code = 0;
    if (tag != kRequestTag || !data || size != sizeof code)
        return std::nullopt;
    std::memcpy(&code, data, sizeof code); // the sender's buffer need not be aligned
    switch (code) {
    case kOptionsWindowCode:
        return StartRequest::OptionsWindow;
    case kShowScreenCode:
        return StartRequest::ShowScreen;
    case kNothingCode:
        return StartRequest::Nothing;
    default:
        return std::nullopt;
    }
}

Packet requestPacket(StartRequest request) {
    const std::uint32_t code = encodeRequest(request);
    return {kRequestTag, QByteArray(reinterpret_cast<const char*>(&code), sizeof code)};
}

std::optional<Packet> encodeCommand(const QStringList& arguments) {
    Packet packet{kCommandTag, {}};
    if (arguments.isEmpty() || arguments.size() > kMaxCommandArguments)
        return std::nullopt;
    for (const QString& argument : arguments) {
        if (argument.contains(QChar::Null)) // it would end early on the other side
            return std::nullopt;
        packet.data.append(reinterpret_cast<const char*>(argument.utf16()),
                           argument.size() * sizeof(char16_t));
        packet.data.append(sizeof(char16_t), '\0');
    }
    if (std::size_t(packet.data.size()) > kMaxCommandBytes)
        return std::nullopt;
    return packet;
}

std::optional<QStringList> decodeCommand(std::uintptr_t tag, const void* data, std::size_t size) {
    if (tag != kCommandTag || !data || size == 0 || size > kMaxCommandBytes || size % sizeof(char16_t))
        return std::nullopt;
    // Copied first: the sender's buffer need not be aligned for UTF-16.
    QString text(qsizetype(size / sizeof(char16_t)), Qt::Uninitialized);
    std::memcpy(text.data(), data, size);
    if (!text.endsWith(QChar::Null))
        return std::nullopt;
    QStringList arguments = text.chopped(1).split(QChar::Null);
    if (arguments.size() > kMaxCommandArguments)
        return std::nullopt;
    return arguments;
}

Packet encodeCommandReply(const SingleInstance::CommandReply& reply) {
    constexpr qsizetype kMaxReplyCharacters =
        qsizetype((kMaxReplyBytes - sizeof(std::int32_t)) / sizeof(char16_t));
    QString output = reply.output.left(kMaxReplyCharacters);
    if (!output.isEmpty() && output.back().isHighSurrogate())
        output.chop(1); // never half a character
    const std::int32_t status = reply.status;
    Packet packet{kCommandReplyTag, QByteArray(reinterpret_cast<const char*>(&status), sizeof status)};
    packet.data.append(reinterpret_cast<const char*>(output.utf16()), output.size() * sizeof(char16_t));
    return packet;
}

std::optional<SingleInstance::CommandReply> decodeCommandReply(std::uintptr_t tag, const void* data,
                                                               std::size_t size) {
    std::int32_t status = 0;
    if (tag != kCommandReplyTag || !data || size < sizeof status || size > kMaxReplyBytes ||
        (size - sizeof status) % sizeof(char16_t))
        return std::nullopt;
    const auto* bytes = static_cast<const char*>(data);
    std::memcpy(&status, bytes, sizeof status);
    QString output(qsizetype((size - sizeof status) / sizeof(char16_t)), Qt::Uninitialized);
    if (!output.isEmpty())
        std::memcpy(output.data(), bytes + sizeof status, size - sizeof status);
    return SingleInstance::CommandReply{status, output};
}

Reply replyFor(ServeResult result) {
    return result == ServeResult::NeedsPassword ? Reply::NeedsPassword : Reply::Served;
}

std::intptr_t encodeReply(Reply reply) {
    switch (reply) {
    case Reply::NeedsPassword:
        return kNeedsPasswordReply;
    case Reply::WaitsForUser:
        return kWaitsForUserReply;
    case Reply::Served:
        break;
    }
    return kServedReply;
}

std::optional<Reply> decodeReply(std::intptr_t value) {
    switch (value) {
    case kServedReply:
        return Reply::Served;
    case kNeedsPasswordReply:
        return Reply::NeedsPassword;
    case kWaitsForUserReply:
        return Reply::WaitsForUser;
    default:
        return std::nullopt;
    }
}

} // namespace instancemessage

Claim claimInstance(InstanceSeat& seat, const instancemessage::Packet& message,
                    std::chrono::milliseconds deadline, std::chrono::milliseconds retryInterval,
                    std::optional<instancemessage::Reply>& reply) {
    using std::chrono::milliseconds;
    reply.reset();
    const auto end = seat.now() + deadline;
    for (;;) {
        // Looked at again in every round: an instance that is ending gives the mutex up after its window.
        if (seat.take())
            return Claim::Instance;
        if (seat.find() == InstanceSeat::Found::Ours) {
            const auto left = std::chrono::duration_cast<milliseconds>(end - seat.now());
            // Found in the last moment: the message still goes, with the least time there is to answer.
            const std::optional<std::intptr_t> answer = seat.send(message, std::max(left, milliseconds(1)));
            if (answer)
                reply = instancemessage::decodeReply(*answer);
            return reply ? Claim::HandedOver : Claim::Alone;
        }
        // Nothing there, or only a window of our class that is not ours: the instance may still be making
        // its window (two starts at one moment).
        const auto left = std::chrono::duration_cast<milliseconds>(end - seat.now());
        if (left <= milliseconds(0))
            return Claim::Alone;
        seat.pause(std::min(retryInterval, left));
    }
}

} // namespace umbralux
