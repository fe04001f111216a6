#pragma once

#include "app/model/FieldText.h"

// A one-line text entered masked: its cell never shows what was typed.
class FieldPassword : public FieldText {
public:
    using FieldText::FieldText;
};
