// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace umbralux::bus {

/// The kinds of D-Bus message.
enum class MessageType : std::uint8_t { MethodCall = 1, MethodReturn = 2, Error = 3, Signal = 4 };

/// The body of a method call, marshalled as it is built (little-endian, aligned from the message's start).
class Body {
  public:
    Body& string(std::string_view value);
    Body& uint32(std::uint32_t value);
    /// An empty a{sv}: the "no options" argument of many calls.
    Body& emptyDictionary();
    /// An array of strings, "as".
    Body& strings(const std::vector<std::string>& values);

    const std::string& bytes() const { return m_bytes; }
    const std::string& signature() const { return m_signature; }

  private:
    std::string m_bytes;
    std::string m_signature;
};

/// A method call to send.
struct MethodCall {
    std::string destination;
    std::string path;
    std::string interface;
    std::string member;
    Body body;
};

/// The whole wire form of a method call with its serial; replies are not started by the bus (no
/// activation of a service that is not running).
std::string marshal(const MethodCall& call, std::uint32_t serial);

/// A received message, as far as a caller of methods needs it.
struct Message {
    MessageType type = MessageType::Signal;
    std::uint32_t replySerial = 0;
    std::string errorName;
    std::string signature;
    std::string body;
};

/// How many bytes the message at the start of `buffer` takes, once its fixed header is there (16 bytes);
/// nullopt while fewer are there, 0 for a message that cannot be read (a wrong endianness or version, a
/// size over the protocol's limit).
std::optional<std::size_t> messageSize(std::string_view buffer);

/// Reads one whole message (of messageSize() bytes); nullopt if it is malformed.
std::optional<Message> unmarshal(std::string_view bytes);

/// Reads a body of the signature "s" (also "o").
std::optional<std::string> readString(const Message& message);
/// Reads a body of the signature "u".
std::optional<std::uint32_t> readUint32(const Message& message);
/// Reads a body of the signature "is": a status and a text.
std::optional<std::pair<std::int32_t, std::string>> readStatusAndText(const Message& message);
/// Reads the entries of type u of a body of the signature "a{sv}" (GetConnectionCredentials), skipping the
/// others.
std::optional<std::vector<std::pair<std::string, std::uint32_t>>> readUint32Entries(const Message& message);

} // namespace umbralux::bus
