#pragma once

#include <QHashFunctions>
#include <QMetaType>

// A row's place in a table: its section and its row within the section.
struct IndexPath {
    int section = -1;
    int row = -1;

    static IndexPath indexPathForRow(int row, int section) { return IndexPath{section, row}; }
    bool isValid() const { return section >= 0 && row >= 0; }
    auto operator<=>(const IndexPath&) const = default;
};

inline size_t qHash(const IndexPath& p, size_t seed = 0)
{
    return qHashMulti(seed, p.section, p.row);
}
