// SPDX-License-Identifier: MIT
#include "handover.h"

#include "busconnection.h"
#include "ownprogram.h"

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
