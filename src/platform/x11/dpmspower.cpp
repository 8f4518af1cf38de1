// SPDX-License-Identifier: MIT
#include "dpmspower.h"

#include "config.h"

#include <QCoreApplication>

#ifdef HAVE_X11
#include <cstdlib>
#include <memory>
#include <xcb/dpms.h>
#include <xcb/xcb.h>
#endif

namespace umbralux {

#ifdef HAVE_X11
namespace {

/// Frees what xcb returns.
template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> Reply<T> reply(T* received) {
    return Reply<T>(received, &std::free);
}

/// Whether a request that answers with nothing was carried out.
bool done(xcb_connection_t* connection, xcb_void_cookie_t cookie) {
    if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
        std::free(error);
        return false;
    }
    return true;
}

} // namespace

QString DpmsMonitorPower::powerOff() {
    if (!m_connection)
        return QCoreApplication::translate("MonitorPower", "DPMS: the program does not run on an X server");
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(m_connection, &xcb_dpms_id);
    if (!extension || !extension->present)
        return QCoreApplication::translate("MonitorPower", "DPMS: the X server has no DPMS extension");
    const auto capable = reply(xcb_dpms_capable_reply(m_connection, xcb_dpms_capable(m_connection), nullptr));
    if (!capable || !capable->capable)
        return QCoreApplication::translate("MonitorPower",
                                           "DPMS: the X server cannot power its monitors off");
    const auto info = reply(xcb_dpms_info_reply(m_connection, xcb_dpms_info(m_connection), nullptr));
    if (info && !info->state) {
        if (!done(m_connection, xcb_dpms_enable_checked(m_connection)))
            return QCoreApplication::translate("MonitorPower", "DPMS: the X server refused to turn DPMS on");
        m_enabledHere = true;
    }
    if (!done(m_connection, xcb_dpms_force_level_checked(m_connection, XCB_DPMS_DPMS_MODE_OFF)))
        return QCoreApplication::translate("MonitorPower",
                                           "DPMS: the X server refused to power the monitors off");
    return {};
}

void DpmsMonitorPower::powerOn() {
    if (!m_connection)
        return;
    done(m_connection, xcb_dpms_force_level_checked(m_connection, XCB_DPMS_DPMS_MODE_ON));
    if (m_enabledHere) {
        done(m_connection, xcb_dpms_disable_checked(m_connection));
        m_enabledHere = false;
    }
}

#else

QString DpmsMonitorPower::powerOff() {
    return QCoreApplication::translate("MonitorPower", "DPMS: this build has no X11");
}

void DpmsMonitorPower::powerOn() {}

#endif

} // namespace umbralux
