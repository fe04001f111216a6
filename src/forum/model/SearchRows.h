#pragma once

#include "app/model/Model.h"

// Reading the rows of search and feed answers, whatever their shape.
namespace SearchRows {
// A list as it is, a dictionary as a list of one, anything else as no rows.
ValueList elements(const Value& rows);
// Fills the model's "avatar" key from a row's avatar, when the row has one.
void applyAvatar(Model& model, const Value& avatar);
}  // namespace SearchRows
