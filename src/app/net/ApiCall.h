#pragma once

#include "platform/foundation/Value.h"

#include <QString>

// The forum API call a request stands for: its method name and the
// parameters that travel in the signed address. A request that knows it can
// be addressed again with the session's current values.
struct ApiCall {
    QString method;
    ValueDict query;

    bool isSet() const { return !method.isEmpty(); }
};
