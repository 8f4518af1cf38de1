// SPDX-License-Identifier: MIT
#include "endrequests.h"

namespace umbralux {

EndRequests::EndRequests(QObject* parent) : QObject(parent) {}

EndRequests::~EndRequests() = default;

void EndRequests::readPipe() {}

} // namespace umbralux
