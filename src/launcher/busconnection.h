// SPDX-License-Identifier: MIT
#pragma once

#include "busaddress.h"
#include "busmessage.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace umbralux::bus {

/// A moment after which nothing more is waited for: one of them covers a whole exchange with the bus, from
/// connecting to the last reply.
class Deadline {
  public:
    explicit Deadline(std::chrono::milliseconds within) : m_end(std::chrono::steady_clock::now() + within) {}
    /// What is left of it for poll(), at least 0.
    int remainingMs() const;
    bool passed() const { return remainingMs() == 0; }

  private:
    std::chrono::steady_clock::time_point m_end;
};

/// A client connection to a D-Bus bus over a Unix socket, with no library behind it: connecting,
/// authenticating (EXTERNAL, the peer's credentials), Hello, method calls and their replies. Every step
/// waits only until the deadline it is given; a bus that stalls anywhere costs no more than that.
class Connection {
  public:
    /// Why a step did not succeed.
    enum class Failure {
        None,
        NoSocket, ///< nothing listens at any of the addresses (or there was none)
        Silent,   ///< the deadline passed while waiting for the bus
        Broken,   ///< the bus closed the connection, refused us, or sent what cannot be read
    };

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    /// Connects to the first socket that accepts, authenticates and says Hello.
    bool open(const std::vector<SocketAddress>& sockets, const Deadline& deadline);
    /// Sends a call and returns its serial, or 0 when it could not be sent.
    std::uint32_t send(const MethodCall& call, const Deadline& deadline);
    /// The reply (a method return or an error) to the call with `serial`.
    std::optional<Message> reply(std::uint32_t serial, const Deadline& deadline);
    /// Sends a call and waits for its reply.
    std::optional<Message> call(const MethodCall& call, const Deadline& deadline);

    /// Whether the reply to `serial` came in while another reply was awaited.
    bool replied(std::uint32_t serial) const { return m_replies.count(serial) != 0; }

    Failure failure() const { return m_failure; }
    /// The unique name the bus gave this connection.
    const std::string& uniqueName() const { return m_uniqueName; }

  private:
    bool connectTo(const SocketAddress& socket, const Deadline& deadline);
    bool authenticate(const Deadline& deadline);
    /// Waits until the socket is ready for `events` (POLLIN, POLLOUT), at most until the deadline.
    bool waitUntilReady(short events, const Deadline& deadline);
    bool writeAll(std::string_view bytes, const Deadline& deadline);
    /// Reads what is there into m_input, waiting for it until the deadline.
    bool readMore(const Deadline& deadline);
    std::optional<std::string> readLine(const Deadline& deadline);
    bool fail(Failure failure);

    int m_fd = -1;
    std::string m_input;
    std::uint32_t m_serial = 0;
    std::map<std::uint32_t, Message> m_replies;
    std::string m_uniqueName;
    Failure m_failure = Failure::None;
};

} // namespace umbralux::bus
