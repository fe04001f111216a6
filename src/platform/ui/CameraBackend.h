#pragma once

#include <QImage>
#include <QString>

#include <functional>

class QWidget;

// The camera as the picture picker's view uses it: what it sees, shown in a
// widget of its own, and one still picture on request. It lives in a module
// loaded when a camera is first wanted, so that the program does not load
// the multimedia libraries at start.
class CameraBackend {
public:
    virtual ~CameraBackend() = default;

    // The widget that shows what the camera sees (a child of the view).
    virtual QWidget* viewfinder() const = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isReady() const = 0;
    virtual void capture() = 0;

    std::function<void(const QImage&)> onPicture;
    std::function<void(const QString&)> onError;
};

// The module's two entry points, looked up by name.
extern "C" {
// Whether the machine has a camera (a video input) at all.
using CameraModulePresentFunction = bool (*)();
// A camera on the machine's default video input, its widgets children of
// `parent`; null when there is none. The caller owns it.
using CameraModuleCreateFunction = CameraBackend* (*)(QWidget* parent);
}
