#pragma once

#include <QString>

// The screen a form's link row opens, made by its class name: the row hands
// it the link's title and page.
class FieldLinkPage {
public:
    virtual ~FieldLinkPage() = default;
    virtual void setPage(const QString& title, const QString& html) = 0;
};
