#pragma once

#include "app/store/DatabaseQuery.h"
#include "platform/foundation/Value.h"

#include <optional>

// The rows of a SELECT, read when first asked for.
class DatabaseQuerySelect : public DatabaseQuery {
public:
    using DatabaseQuery::DatabaseQuery;

    // The next row as a dictionary value (NULL columns left out), or nothing
    // at the end or on an error; after that it stays at the end.
    Value row();
    // The remaining rows, read on the first call and kept. Rows taken with
    // row() before the first call are not among them.
    const ValueList& result();
    int numRows();

private:
    std::optional<ValueList> m_result;
    bool m_finished = false;
};
