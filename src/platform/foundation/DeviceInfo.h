#pragma once

#include <QString>

// What the application reports about the machine: stable, never empty.
class DeviceInfo {
public:
    // E.g. "PC x86_64".
    static QString model();
    // The system's version, e.g. "12" or "6.1.0-18-amd64".
    static QString systemVersion();
};
