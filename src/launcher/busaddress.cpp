// SPDX-License-Identifier: MIT
#include "busaddress.h"

#include <cstdlib>
#include <optional>
#include <sys/stat.h>

namespace umbralux::bus {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/// An address value with its %XX escapes undone; nullopt for a broken escape.
std::optional<std::string> unescape(std::string_view value) {
    std::string result;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            result.push_back(value[i]);
            continue;
        }
        if (i + 2 >= value.size())
            return std::nullopt;
        const int high = hexDigit(value[i + 1]);
        const int low = hexDigit(value[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        result.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return result;
}

std::optional<SocketAddress> unixSocket(std::string_view entry) {
    constexpr std::string_view kUnix = "unix:";
    if (entry.substr(0, kUnix.size()) != kUnix)
        return std::nullopt;
    entry.remove_prefix(kUnix.size());
    std::optional<SocketAddress> socket;
    while (!entry.empty()) {
        const std::size_t comma = entry.find(',');
        const std::string_view pair = entry.substr(0, comma);
        entry = comma == std::string_view::npos ? std::string_view() : entry.substr(comma + 1);
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const std::string_view key = pair.substr(0, equals);
        const auto value = unescape(pair.substr(equals + 1));
        if (!value || value->empty())
            return std::nullopt;
        if (key == "path" || key == "abstract") {
            if (socket)
                return std::nullopt; // one socket per address
            socket = SocketAddress{*value, key == "abstract"};
        }
        // guid and the server-side keys (tmpdir, dir, runtime) name no socket to connect to.
    }
    return socket;
}

} // namespace

std::vector<SocketAddress> unixSockets(std::string_view addresses) {
    std::vector<SocketAddress> sockets;
    while (!addresses.empty()) {
        const std::size_t semicolon = addresses.find(';');
        if (const auto socket = unixSocket(addresses.substr(0, semicolon)))
            sockets.push_back(*socket);
        addresses =
            semicolon == std::string_view::npos ? std::string_view() : addresses.substr(semicolon + 1);
    }
    return sockets;
}

std::vector<SocketAddress> sessionBusSockets() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"))
        return unixSockets(address);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime)
        return {};
    std::string path = std::string(runtime) + "/bus";
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode))
        return {};
    return {SocketAddress{std::move(path), false}};
}

} // namespace umbralux::bus
