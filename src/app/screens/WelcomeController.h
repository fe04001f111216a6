#pragma once

#include "platform/ui/ViewController.h"

// A plain screen with no behaviour of its own; nothing opens it.
class WelcomeController : public ViewController {
public:
    WelcomeController() = default;
};
