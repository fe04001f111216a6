#pragma once

#include "platform/ui/View.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

class CameraBackend;

// What the machine's camera sees, filling the view, and one still picture
// taken from it on request.
class CameraView : public View {
    Q_OBJECT
public:
    explicit CameraView(const QRectF& frame = QRectF());
    ~CameraView() override;

    // Whether the machine has a camera (a video input) at all.
    static bool machineHasCamera();

    void start();
    void stop();
    bool isReady() const;
    // Takes one still picture; it comes to `onPicture`, a failure to `onError`.
    void takePicture();

    std::function<void(const QImage&)> onPicture;
    std::function<void(const QString&)> onError;

    void layoutSubviews() override;

private:
    // From the camera module, loaded with the first camera wanted; its
    // widgets are this view's children.
    std::unique_ptr<CameraBackend> m_camera;
};
