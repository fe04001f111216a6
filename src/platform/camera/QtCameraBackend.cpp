// The camera module: the picture picker's camera on Qt Multimedia, loaded by
// CameraView when a camera is first wanted.
#include "platform/ui/CameraBackend.h"

#include <QCamera>
#include <QImageCapture>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoWidget>

namespace {

class QtCameraBackend : public CameraBackend {
public:
    QtCameraBackend(const QCameraDevice& device, QWidget* parent)
        : m_camera(new QCamera(device, parent)),
          m_session(new QMediaCaptureSession(parent)),
          m_capture(new QImageCapture(parent)),
          m_viewfinder(new QVideoWidget(parent))
    {
        m_session->setCamera(m_camera);
        m_session->setImageCapture(m_capture);
        m_session->setVideoOutput(m_viewfinder);
        m_viewfinder->show();
        QObject::connect(m_capture, &QImageCapture::imageCaptured, m_capture, [this](int, const QImage& picture) {
            if (onPicture)
                onPicture(picture);
        });
        QObject::connect(m_capture, &QImageCapture::errorOccurred, m_capture,
                         [this](int, QImageCapture::Error, const QString& message) {
                             if (onError)
                                 onError(message);
                         });
        QObject::connect(m_camera, &QCamera::errorOccurred, m_camera, [this](QCamera::Error, const QString& message) {
            if (onError)
                onError(message);
        });
    }
    // The Qt objects are the parent's children and go with it; the
    // connections above end with them.
    ~QtCameraBackend() override
    {
        QObject::disconnect(m_capture, nullptr, m_capture, nullptr);
        QObject::disconnect(m_camera, nullptr, m_camera, nullptr);
    }

    QWidget* viewfinder() const override { return m_viewfinder; }
    void start() override { m_camera->start(); }
    void stop() override { m_camera->stop(); }
    bool isReady() const override { return m_capture->isReadyForCapture(); }
    void capture() override { m_capture->capture(); }

private:
    QCamera* m_camera;
    QMediaCaptureSession* m_session;
    QImageCapture* m_capture;
    QVideoWidget* m_viewfinder;
};

}  // namespace

extern "C" Q_DECL_EXPORT bool mu_camera_present()
{
    return !QMediaDevices::videoInputs().isEmpty();
}

extern "C" Q_DECL_EXPORT CameraBackend* mu_camera_create(QWidget* parent)
{
    const QCameraDevice device = QMediaDevices::defaultVideoInput();
    if (device.isNull())
        return nullptr;
    return new QtCameraBackend(device, parent);
}
