// SPDX-License-Identifier: MIT
#include "busmessage.h"

#include <cstring>

namespace umbralux::bus {
namespace {

constexpr char kLittleEndian = 'l';
constexpr std::uint8_t kProtocolVersion = 1;
constexpr std::uint8_t kNoAutoStart = 0x2;
/// The protocol's limit on a whole message (128 MiB); the replies read here are a few hundred bytes.
constexpr std::size_t kMaxMessageSize = std::size_t{128} * 1024 * 1024;
constexpr std::size_t kFixedHeaderSize = 16;
/// How deep signatures may nest (the protocol allows 32 arrays and 32 structs).
constexpr int kMaxNesting = 64;

enum HeaderField : std::uint8_t {
    kPath = 1,
    kInterface = 2,
    kMember = 3,
    kErrorName = 4,
    kReplySerial = 5,
    kDestination = 6,
    kSignature = 8,
};

void pad(std::string& bytes, std::size_t alignment) {
    while (bytes.size() % alignment)
        bytes.push_back('\0');
}

void putUint32(std::string& bytes, std::uint32_t value) {
    pad(bytes, 4);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((value >> shift) & 0xff));
}

void putString(std::string& bytes, std::string_view value) {
    putUint32(bytes, static_cast<std::uint32_t>(value.size()));
    bytes.append(value);
    bytes.push_back('\0');
}

void putSignature(std::string& bytes, std::string_view value) {
    bytes.push_back(static_cast<char>(value.size()));
    bytes.append(value);
    bytes.push_back('\0');
}

void putField(std::string& bytes, HeaderField field, char type, std::string_view value) {
    pad(bytes, 8);
    bytes.push_back(static_cast<char>(field));
    putSignature(bytes, std::string_view(&type, 1));
    if (type == 'g')
        putSignature(bytes, value);
    else
        putString(bytes, value);
}

/// Reads marshalled values with alignment counted from the message's start.
class Reader {
  public:
    Reader(std::string_view data, std::size_t origin) : m_data(data), m_origin(origin) {}

    bool align(std::size_t alignment) {
        while ((m_origin + m_pos) % alignment) {
            if (m_pos >= m_data.size() || m_data[m_pos] != '\0')
                return false;
            ++m_pos;
        }
        return true;
    }
    std::optional<std::uint32_t> uint32() {
        if (!align(4) || m_data.size() - m_pos < 4)
            return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(m_data[m_pos + i]);
        m_pos += 4;
        return value;
    }
    std::optional<std::string> string() {
        const auto length = uint32();
        if (!length || m_data.size() - m_pos < std::size_t(*length) + 1 || m_data[m_pos + *length] != '\0')
            return std::nullopt;
        std::string value(m_data.substr(m_pos, *length));
        m_pos += *length + 1;
        return value;
    }
    std::optional<std::string> signature() {
        if (m_pos >= m_data.size())
            return std::nullopt;
        const std::size_t length = static_cast<unsigned char>(m_data[m_pos]);
        if (m_data.size() - m_pos < length + 2 || m_data[m_pos + 1 + length] != '\0')
            return std::nullopt;
        std::string value(m_data.substr(m_pos + 1, length));
        m_pos += length + 2;
        return value;
    }
    bool skip(std::size_t count) {
        if (m_data.size() - m_pos < count)
            return false;
        m_pos += count;
        return true;
    }
    /// Skips one complete value of the type at the start of `type`, which is advanced past it.
    bool skipValue(std::string_view& type, int depth = 0) {
        if (type.empty() || depth > kMaxNesting)
            return false;
        const char code = type.front();
        type.remove_prefix(1);
        switch (code) {
        case 'y':
            return skip(1);
        case 'n':
        case 'q':
            return align(2) && skip(2);
        case 'b':
        case 'i':
        case 'u':
        case 'h':
            return align(4) && skip(4);
        case 'x':
        case 't':
        case 'd':
            return align(8) && skip(8);
        case 's':
        case 'o':
            return string().has_value();
        case 'g':
            return signature().has_value();
        case 'v': {
            const auto inner = signature();
            if (!inner)
                return false;
            std::string_view innerType = *inner;
            return skipValue(innerType, depth + 1) && innerType.empty();
        }
        case 'a': {
            const auto length = uint32();
            const std::string_view elementType = type;
            std::string_view rest = type;
            if (!length || !skipType(rest, depth + 1) || !align(elementAlignment(elementType.front())))
                return false;
            type = rest;
            const std::size_t end = m_pos + *length;
            if (end > m_data.size())
                return false;
            while (m_pos < end) {
                std::string_view element = elementType;
                if (!skipValue(element, depth + 1))
                    return false;
            }
            return m_pos == end;
        }
        case '(':
        case '{': {
            const char close = code == '(' ? ')' : '}';
            if (!align(8))
                return false;
            while (!type.empty() && type.front() != close)
                if (!skipValue(type, depth + 1))
                    return false;
            if (type.empty())
                return false;
            type.remove_prefix(1);
            return true;
        }
        default:
            return false;
        }
    }
    bool atEnd() const { return m_pos == m_data.size(); }
    /// One byte, after aligning to `alignment`.
    std::optional<std::uint8_t> byte(std::size_t alignment = 1) {
        if (!align(alignment) || m_pos >= m_data.size())
            return std::nullopt;
        return static_cast<std::uint8_t>(m_data[m_pos++]);
    }

  private:
    static std::size_t elementAlignment(char code) {
        switch (code) {
        case 'n':
        case 'q':
            return 2;
        case 'b':
        case 'i':
        case 'u':
        case 'h':
        case 's':
        case 'o':
        case 'a':
            return 4;
        case 'x':
        case 't':
        case 'd':
        case '(':
        case '{':
            return 8;
        default:
            return 1;
        }
    }
    /// Advances `type` past one complete type without reading a value.
    static bool skipType(std::string_view& type, int depth) {
        if (type.empty() || depth > kMaxNesting)
            return false;
        const char code = type.front();
        type.remove_prefix(1);
        if (code == 'a')
            return skipType(type, depth + 1);
        if (code == '(' || code == '{') {
            const char close = code == '(' ? ')' : '}';
            while (!type.empty() && type.front() != close)
                if (!skipType(type, depth + 1))
                    return false;
            if (type.empty())
                return false;
            type.remove_prefix(1);
        }
        return true;
    }

    std::string_view m_data;
    std::size_t m_origin;
    std::size_t m_pos = 0;
};

std::uint32_t readFixedUint32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

} // namespace

Body& Body::string(std::string_view value) {
    putString(m_bytes, value);
    m_signature += 's';
    return *this;
}

Body& Body::uint32(std::uint32_t value) {
    putUint32(m_bytes, value);
    m_signature += 'u';
    return *this;
}

Body& Body::emptyDictionary() {
    putUint32(m_bytes, 0);
    pad(m_bytes, 8); // the elements' alignment follows the length even when there are none
    m_signature += "a{sv}";
    return *this;
}

Body& Body::strings(const std::vector<std::string>& values) {
    putUint32(m_bytes, 0); // the array's length in bytes, known once its elements are written
    const std::size_t lengthAt = m_bytes.size() - 4;
    const std::size_t start = m_bytes.size();
    for (const std::string& value : values)
        putString(m_bytes, value);
    const auto length = static_cast<std::uint32_t>(m_bytes.size() - start);
    for (int i = 0; i < 4; ++i)
        m_bytes[lengthAt + i] = static_cast<char>((length >> (8 * i)) & 0xff);
    m_signature += "as";
    return *this;
}

std::string marshal(const MethodCall& call, std::uint32_t serial) {
    std::string fields;
    // The fields are aligned from the message's start: 16 bytes of fixed header come first.
    std::string message(12, '\0');
    putField(fields, kPath, 'o', call.path);
    if (!call.interface.empty())
        putField(fields, kInterface, 's', call.interface);
    putField(fields, kMember, 's', call.member);
    putField(fields, kDestination, 's', call.destination);
    if (!call.body.signature().empty())
        putField(fields, kSignature, 'g', call.body.signature());
    message[0] = kLittleEndian;
    message[1] = static_cast<char>(MessageType::MethodCall);
    message[2] = static_cast<char>(kNoAutoStart);
    message[3] = static_cast<char>(kProtocolVersion);
    std::string header;
    putUint32(header, static_cast<std::uint32_t>(call.body.bytes().size()));
    putUint32(header, serial);
    std::memcpy(message.data() + 4, header.data(), 8);
    putUint32(message, static_cast<std::uint32_t>(fields.size()));
    message += fields;
    pad(message, 8);
    message += call.body.bytes();
    return message;
}

std::optional<std::size_t> messageSize(std::string_view buffer) {
    if (buffer.size() < kFixedHeaderSize)
        return std::nullopt;
    if (buffer[0] != kLittleEndian || static_cast<std::uint8_t>(buffer[3]) != kProtocolVersion)
        return 0; // a bus on this machine speaks its own byte order; anything else is not understood here
    const std::size_t body = readFixedUint32(buffer, 4);
    const std::size_t fields = readFixedUint32(buffer, 12);
    if (body > kMaxMessageSize || fields > kMaxMessageSize)
        return 0;
    const std::size_t header = (kFixedHeaderSize + fields + 7) / 8 * 8;
    if (header + body > kMaxMessageSize)
        return 0;
    return header + body;
}

std::optional<Message> unmarshal(std::string_view bytes) {
    const auto size = messageSize(bytes);
    if (!size || *size == 0 || *size != bytes.size())
        return std::nullopt;
    Message message;
    const auto type = static_cast<std::uint8_t>(bytes[1]);
    if (type < 1 || type > 4)
        return std::nullopt;
    message.type = static_cast<MessageType>(type);
    const std::size_t fieldsLength = readFixedUint32(bytes, 12);
    Reader fields(bytes.substr(kFixedHeaderSize, fieldsLength), kFixedHeaderSize);
    while (!fields.atEnd()) {
        const auto code = fields.byte(8);
        const auto valueType = fields.signature();
        if (!code || !valueType)
            return std::nullopt;
        if (*code == kErrorName && *valueType == "s") {
            const auto name = fields.string();
            if (!name)
                return std::nullopt;
            message.errorName = *name;
        } else if (*code == kReplySerial && *valueType == "u") {
            const auto serial = fields.uint32();
            if (!serial)
                return std::nullopt;
            message.replySerial = *serial;
        } else if (*code == kSignature && *valueType == "g") {
            const auto signature = fields.signature();
            if (!signature)
                return std::nullopt;
            message.signature = *signature;
        } else {
            std::string_view rest = *valueType;
            if (!fields.skipValue(rest) || !rest.empty())
                return std::nullopt;
        }
    }
    const std::size_t bodyStart = (kFixedHeaderSize + fieldsLength + 7) / 8 * 8;
    message.body = std::string(bytes.substr(bodyStart));
    return message;
}

std::optional<std::string> readString(const Message& message) {
    if (message.signature != "s" && message.signature != "o")
        return std::nullopt;
    Reader body(message.body, 0);
    auto value = body.string();
    return value && body.atEnd() ? value : std::nullopt;
}

std::optional<std::uint32_t> readUint32(const Message& message) {
    if (message.signature != "u")
        return std::nullopt;
    Reader body(message.body, 0);
    auto value = body.uint32();
    return value && body.atEnd() ? value : std::nullopt;
}

std::optional<std::pair<std::int32_t, std::string>> readStatusAndText(const Message& message) {
    if (message.signature != "is")
        return std::nullopt;
    Reader body(message.body, 0);
    const auto status = body.uint32();
    auto text = status ? body.string() : std::nullopt;
    if (!text || !body.atEnd())
        return std::nullopt;
    return std::pair{static_cast<std::int32_t>(*status), std::move(*text)};
}

std::optional<std::vector<std::pair<std::string, std::uint32_t>>> readUint32Entries(const Message& message) {
    if (message.signature != "a{sv}")
        return std::nullopt;
    Reader body(message.body, 0);
    const auto length = body.uint32();
    if (!length || !body.align(8) || *length > message.body.size())
        return std::nullopt;
    std::vector<std::pair<std::string, std::uint32_t>> entries;
    while (!body.atEnd()) {
        const auto key = body.align(8) ? body.string() : std::nullopt;
        const auto valueType = key ? body.signature() : std::nullopt;
        if (!valueType)
            return std::nullopt;
        if (*valueType == "u") {
            const auto value = body.uint32();
            if (!value)
                return std::nullopt;
            entries.emplace_back(*key, *value);
        } else {
            std::string_view rest = *valueType;
            if (!body.skipValue(rest) || !rest.empty())
                return std::nullopt;
        }
    }
    return entries;
}

} // namespace umbralux::bus
