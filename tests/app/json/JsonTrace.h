#pragma once

#include "app/json/ZyJsonBase.h"

#include <QString>

#include <utility>
#include <vector>

// What the codec reported, as (code, description) pairs in order.
using Trace = std::vector<std::pair<int, QString>>;

inline Trace traceOf(const ZyJsonBase& codec)
{
    Trace trace;
    for (const Error& e : codec.errorTrace())
        trace.emplace_back(e.code(), e.description());
    return trace;
}
