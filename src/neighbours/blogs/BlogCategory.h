#pragma once

#include <QString>

// One category a blog entry can be filed under.
struct BlogCategory {
    qint32 blogcategoryid = 0;
    QString title;

    bool operator==(const BlogCategory& other) const = default;
};
