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

HandOverReply notHandedOver(HandOver outcome, std::string detail) {
    return {outcome, 0, {}, std::move(detail)};
}

HandOverReply busFailed(const Connection& connection, const char* step) {
    if (connection.failure() == Connection::Failure::NoSocket)
        return notHandedOver(HandOver::NoBus, "no session bus is listening");
    return notHandedOver(
        HandOver::BusSilent,
        std::string("the session bus ") +
            (connection.failure() == Connection::Failure::Silent ? "did not answer in time" : "broke off") +
            " (" + step + ")");
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

HandOverReply handOver(const HandOverTarget& target, const std::vector<std::string>& arguments) {
    if (target.bus.empty())
        return notHandedOver(HandOver::NoBus, "there is no session bus");
    const bus::Deadline deadline(target.within);
    Connection connection;
    if (!connection.open(target.bus, deadline))
        return busFailed(connection, "connecting");

    MethodCall getOwner{kBusName, kBusPath, kBusName, "GetNameOwner", {}};
    getOwner.body.string(target.name);
    const auto owner = connection.call(getOwner, deadline);
    if (!owner)
        return busFailed(connection, "GetNameOwner");
    if (owner->type == MessageType::Error)
        return notHandedOver(HandOver::NoInstance, "no instance is running"); // NameHasNoOwner
    const auto unique = bus::readString(*owner);
    if (!unique)
        return notHandedOver(HandOver::BusSilent, "the session bus sent an unreadable owner");

    // Calls go to the unique name: the holder that was checked is the one that is asked.
    MethodCall getCredentials{kBusName, kBusPath, kBusName, "GetConnectionCredentials", {}};
    getCredentials.body.string(*unique);
    const auto credentials = connection.call(getCredentials, deadline);
    if (!credentials)
        return busFailed(connection, "GetConnectionCredentials");
    const auto entries = bus::readUint32Entries(*credentials);
    std::optional<std::uint32_t> uid;
    std::optional<std::uint32_t> pid;
    for (const auto& [key, value] : entries ? *entries : decltype(entries)::value_type{}) {
        if (key == "UnixUserID")
            uid = value;
        else if (key == "ProcessID")
            pid = value;
    }
    if (!uid || !pid)
        return notHandedOver(HandOver::NotOurs,
                             target.name + " is held by a connection whose process the bus does not name");
    if (*uid != ::getuid())
        return notHandedOver(HandOver::NotOurs, target.name + " is held by another user's process (uid " +
                                                    std::to_string(*uid) + ")");
    if (!runsProgram(*pid, target.executable))
        return notHandedOver(HandOver::NotOurs, target.name + " is held by another program (process " +
                                                    std::to_string(*pid) + ")");

    MethodCall run{*unique, target.path, kInstanceInterface, kRunMethod, {}};
    run.body.strings(arguments);
    const std::uint32_t runSerial = connection.send(run, deadline);
    // A ping of the bus beside it tells an instance that does not answer from a bus that does not.
    const std::uint32_t pingSerial =
        connection.send(MethodCall{kBusName, kBusPath, "org.freedesktop.DBus.Peer", "Ping", {}}, deadline);
    if (!runSerial || !pingSerial)
        return busFailed(connection, kRunMethod);
    const auto answer = connection.reply(runSerial, deadline);
    if (!answer) {
        if (connection.failure() != Connection::Failure::Silent || !connection.replied(pingSerial))
            return busFailed(connection, kRunMethod);
        return notHandedOver(HandOver::NoAnswer, "the running instance (process " + std::to_string(*pid) +
                                                     ") did not answer in time");
    }
    auto reply = bus::readStatusAndText(*answer);
    if (answer->type != MessageType::MethodReturn || !reply)
        return notHandedOver(HandOver::NoAnswer,
                             "the running instance answered " + (answer->errorName.empty()
                                                                     ? std::string("what cannot be read")
                                                                     : answer->errorName));
    return {HandOver::Answered, reply->first, std::move(reply->second), {}};
}

} // namespace umbralux
