// SPDX-License-Identifier: MIT
#include "busconnection.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace umbralux::bus {
namespace {

/// What one read takes from the socket at most.
constexpr std::size_t kReadChunk = 4096;
/// How long an authentication line may be; the bus's answers are a few dozen characters.
constexpr std::size_t kMaxAuthLine = 1024;

const std::string kBusName = "org.freedesktop.DBus";
const std::string kBusPath = "/org/freedesktop/DBus";

std::string hex(std::string_view text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string result;
    for (const char c : text) {
        result.push_back(kDigits[(static_cast<unsigned char>(c) >> 4) & 0xf]);
        result.push_back(kDigits[static_cast<unsigned char>(c) & 0xf]);
    }
    return result;
}

} // namespace

int Deadline::remainingMs() const {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_end - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

Connection::~Connection() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool Connection::fail(Failure failure) {
    if (m_failure == Failure::None)
        m_failure = failure;
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    return false;
}

bool Connection::open(const std::vector<SocketAddress>& sockets, const Deadline& deadline) {
    for (const SocketAddress& socket : sockets) {
        if (connectTo(socket, deadline))
            break;
        if (deadline.passed())
            return fail(Failure::Silent);
    }
    if (m_fd < 0)
        return fail(Failure::NoSocket);
    if (!authenticate(deadline))
        return false;
    const auto hello = call(MethodCall{kBusName, kBusPath, kBusName, "Hello", {}}, deadline);
    if (!hello)
        return false;
    const auto name = readString(*hello);
    if (hello->type != MessageType::MethodReturn || !name)
        return fail(Failure::Broken);
    m_uniqueName = *name;
    return true;
}

bool Connection::connectTo(const SocketAddress& socket, const Deadline& deadline) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // The abstract namespace's names start with a nul byte and are as long as they are, not nul-ended.
    const std::size_t offset = socket.abstract ? 1 : 0;
    if (socket.name.size() + offset >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path + offset, socket.name.data(), socket.name.size());
    const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                                                    socket.name.size() + (socket.abstract ? 0 : 1));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // A listener whose queue is full answers EAGAIN until it accepts again: a stalled bus.
    while (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        if (errno == EINTR)
            continue;
        if ((errno == EAGAIN || errno == EINPROGRESS) && !deadline.passed()) {
            pollfd wait{fd, POLLOUT, 0};
            ::poll(&wait, 1, 1);
            continue;
        }
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

bool Connection::authenticate(const Deadline& deadline) {
    // The credentials travel with the socket; the first byte must be a nul, then EXTERNAL names our uid.
    std::string greeting(1, '\0');
    greeting += "AUTH EXTERNAL " + hex(std::to_string(::getuid())) + "\r\n";
    if (!writeAll(greeting, deadline))
        return false;
    const auto answer = readLine(deadline);
    if (!answer)
        return false;
    if (answer->rfind("OK ", 0) != 0)
        return fail(Failure::Broken);
    return writeAll("BEGIN\r\n", deadline);
}

bool Connection::waitUntilReady(short events, const Deadline& deadline) {
    pollfd wait{m_fd, events, 0};
    const int ready = ::poll(&wait, 1, deadline.remainingMs());
    if (ready == 0)
        return fail(Failure::Silent);
    if (ready < 0 && errno != EINTR)
        return fail(Failure::Broken);
    return true; // ready, or a signal came: the caller tries again
}

bool Connection::writeAll(std::string_view bytes, const Deadline& deadline) {
    while (!bytes.empty()) {
        if (m_fd < 0)
            return false;
        const ssize_t written = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (written > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN)
            return fail(Failure::Broken);
        if (!waitUntilReady(POLLOUT, deadline))
            return false;
    }
    return true;
}

bool Connection::readMore(const Deadline& deadline) {
    for (;;) {
        if (m_fd < 0)
            return false;
        char chunk[kReadChunk];
        const ssize_t got = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (got > 0) {
            m_input.append(chunk, static_cast<std::size_t>(got));
            return true;
        }
        if (got == 0)
            return fail(Failure::Broken);
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            return fail(Failure::Broken);
        if (!waitUntilReady(POLLIN, deadline))
            return false;
    }
}

std::optional<std::string> Connection::readLine(const Deadline& deadline) {
    for (;;) {
        const std::size_t end = m_input.find("\r\n");
        if (end != std::string::npos) {
            std::string line = m_input.substr(0, end);
            m_input.erase(0, end + 2);
            return line;
        }
        if (m_input.size() > kMaxAuthLine) {
            fail(Failure::Broken);
            return std::nullopt;
        }
        if (!readMore(deadline))
            return std::nullopt;
    }
}

std::uint32_t Connection::send(const MethodCall& call, const Deadline& deadline) {
    if (m_fd < 0)
        return 0;
    const std::uint32_t serial = ++m_serial;
    return writeAll(marshal(call, serial), deadline) ? serial : 0;
}

std::optional<Message> Connection::reply(std::uint32_t serial, const Deadline& deadline) {
    for (;;) {
        if (const auto found = m_replies.find(serial); found != m_replies.end()) {
            Message message = std::move(found->second);
            m_replies.erase(found);
            return message;
        }
        const auto size = messageSize(m_input);
        if (size && *size == 0) {
            fail(Failure::Broken);
            return std::nullopt;
        }
        if (size && m_input.size() >= *size) {
            const auto message = unmarshal(std::string_view(m_input).substr(0, *size));
            m_input.erase(0, *size);
            if (!message) {
                fail(Failure::Broken);
                return std::nullopt;
            }
            // Signals (NameAcquired after Hello, say) and calls to us are not waited for.
            // Replies to serials never sent are dropped, so that a bus cannot fill the memory with them.
            const bool reply =
                message->type == MessageType::MethodReturn || message->type == MessageType::Error;
            if (reply && message->replySerial != 0 && message->replySerial <= m_serial)
                m_replies.insert_or_assign(message->replySerial, *message);
            continue;
        }
        if (!readMore(deadline))
            return std::nullopt;
    }
}

std::optional<Message> Connection::call(const MethodCall& call, const Deadline& deadline) {
    const std::uint32_t serial = send(call, deadline);
    if (!serial)
        return std::nullopt;
    return reply(serial, deadline);
}

} // namespace umbralux::bus
