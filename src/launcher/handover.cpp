// SPDX-License-Identifier: MIT
#include "handover.h"

#include "busconnection.h"

#include <cerrno>
#include <climits>
#include <fstream>
#include <unistd.h>

namespace umbralux {
namespace {

using bus::Connection;
using bus::MessageType;
using bus::MethodCall;

const std::string kBusName = "org.freedesktop.DBus";
const std::string kBusPath = "/org/freedesktop/DBus";

void say(std::string* detail, std::string text) {
    if (detail)
        *detail = std::move(text);
}

HandOver busFailed(const Connection& connection, std::string* detail, const char* step) {
    if (connection.failure() == Connection::Failure::NoSocket) {
        say(detail, "no session bus is listening");
        return HandOver::NoBus;
    }
    say(detail,
        std::string("the session bus ") +
            (connection.failure() == Connection::Failure::Silent ? "did not answer in time" : "broke off") +
            " (" + step + ")");
    return HandOver::BusSilent;
}

/// The program file a /proc/PID/exe link names, without the mark of a file replaced since it started (an
/// update of the package while the instance runs is still our program); empty if it cannot be read, and
/// errno then says why.
std::string programFile(const std::string& link) {
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
    if (length <= 0)
        return {};
    target.resize(static_cast<std::size_t>(length));
    constexpr std::string_view kReplaced = " (deleted)";
    if (target.size() > kReplaced.size() && target.ends_with(kReplaced))
        target.resize(target.size() - kReplaced.size());
    return target;
}

std::string firstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

/// Whether the process runs the program file `executable` names. A process that is not dumpable, as our
/// release build makes itself to keep the password out of other programs' reach, hides its program file
/// from the same user: then only its name can be compared.
bool runsProgram(std::uint32_t pid, const std::string& executable) {
    const std::string process = "/proc/" + std::to_string(pid);
    const std::string ours = programFile(executable);
    const std::string theirs = programFile(process + "/exe");
    if (!theirs.empty())
        return !ours.empty() && theirs == ours;
    if (errno != EACCES)
        return false;
    const std::string ourName = firstLine("/proc/self/comm");
    return !ourName.empty() && firstLine(process + "/comm") == ourName;
}

} // namespace

HandOver handOverShowScreen(const HandOverTarget& target, std::string* detail) {
    if (target.bus.empty()) {
        say(detail, "there is no session bus");
        return HandOver::NoBus;
    }
    const bus::Deadline deadline(target.within);
    Connection connection;
    if (!connection.open(target.bus, deadline))
        return busFailed(connection, detail, "connecting");

    MethodCall getOwner{kBusName, kBusPath, kBusName, "GetNameOwner", {}};
    getOwner.body.string(target.name);
    const auto owner = connection.call(getOwner, deadline);
    if (!owner)
        return busFailed(connection, detail, "GetNameOwner");
    if (owner->type == MessageType::Error)
        return HandOver::NoInstance; // NameHasNoOwner
    const auto unique = bus::readString(*owner);
    if (!unique) {
        say(detail, "the session bus sent an unreadable owner");
        return HandOver::BusSilent;
    }

    // Calls go to the unique name: the holder that was checked is the one that is asked.
    MethodCall getCredentials{kBusName, kBusPath, kBusName, "GetConnectionCredentials", {}};
    getCredentials.body.string(*unique);
    const auto credentials = connection.call(getCredentials, deadline);
    if (!credentials)
        return busFailed(connection, detail, "GetConnectionCredentials");
    const auto entries = bus::readUint32Entries(*credentials);
    std::optional<std::uint32_t> uid;
    std::optional<std::uint32_t> pid;
    for (const auto& [key, value] : entries ? *entries : decltype(entries)::value_type{}) {
        if (key == "UnixUserID")
            uid = value;
        else if (key == "ProcessID")
            pid = value;
    }
    if (!uid || !pid) {
        say(detail, target.name + " is held by a connection whose process the bus does not name");
        return HandOver::NotOurs;
    }
    if (*uid != ::getuid()) {
        say(detail, target.name + " is held by another user's process (uid " + std::to_string(*uid) + ")");
        return HandOver::NotOurs;
    }
    if (!runsProgram(*pid, target.executable)) {
        say(detail, target.name + " is held by another program (process " + std::to_string(*pid) + ")");
        return HandOver::NotOurs;
    }

    MethodCall show{*unique, target.path, kInstanceInterface, kShowScreenMethod, {}};
    show.body.emptyDictionary();
    const std::uint32_t showSerial = connection.send(show, deadline);
    // A ping of the bus beside it tells an instance that does not answer from a bus that does not.
    const std::uint32_t pingSerial =
        connection.send(MethodCall{kBusName, kBusPath, "org.freedesktop.DBus.Peer", "Ping", {}}, deadline);
    if (!showSerial || !pingSerial)
        return busFailed(connection, detail, "ShowScreen");
    const auto answer = connection.reply(showSerial, deadline);
    if (!answer) {
        if (connection.failure() != Connection::Failure::Silent)
            return busFailed(connection, detail, "ShowScreen");
        if (!connection.replied(pingSerial))
            return busFailed(connection, detail, "ShowScreen");
        say(detail, "the running instance (process " + std::to_string(*pid) + ") did not confirm in time");
        return HandOver::NoAnswer;
    }
    const auto state = bus::readUint32(*answer);
    if (answer->type != MessageType::MethodReturn || !state) {
        say(detail, "the running instance answered " +
                        (answer->errorName.empty() ? std::string("what cannot be read") : answer->errorName));
        return HandOver::NoAnswer;
    }
    if (*state == kShowScreenCovered)
        return HandOver::Covered;
    if (*state == kShowScreenNeedsPassword)
        return HandOver::NeedsPassword;
    say(detail, "the running instance answered " + std::to_string(*state));
    return HandOver::NoAnswer;
}

} // namespace umbralux
