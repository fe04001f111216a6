#include "platform/ui/CameraView.h"

#include <QCamera>
#include <QImageCapture>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoWidget>

CameraView::CameraView(const QRectF& frame) : View(frame)
{
    setBackgroundColor(Qt::black);
    const QCameraDevice device = QMediaDevices::defaultVideoInput();
    if (device.isNull())
        return;
    m_camera = new QCamera(device, this);
    m_session = new QMediaCaptureSession(this);
    m_capture = new QImageCapture(this);
    m_viewfinder = new QVideoWidget(this);
    m_session->setCamera(m_camera);
    m_session->setImageCapture(m_capture);
    m_session->setVideoOutput(m_viewfinder);
    m_viewfinder->show();
    connect(m_capture, &QImageCapture::imageCaptured, this, [this](int, const QImage& picture) {
        if (onPicture)
            onPicture(picture);
    });
    connect(m_capture, &QImageCapture::errorOccurred, this,
            [this](int, QImageCapture::Error, const QString& message) {
                if (onError)
                    onError(message);
            });
    connect(m_camera, &QCamera::errorOccurred, this, [this](QCamera::Error, const QString& message) {
        if (onError)
            onError(message);
    });
    layoutSubviews();
}

CameraView::~CameraView()
{
    stop();
}

bool CameraView::machineHasCamera()
{
    return !QMediaDevices::videoInputs().isEmpty();
}

void CameraView::start()
{
    if (m_camera)
        m_camera->start();
    else if (onError)
        onError(QStringLiteral("No camera"));
}

void CameraView::stop()
{
    if (m_camera)
        m_camera->stop();
}

bool CameraView::isReady() const
{
    return m_capture && m_capture->isReadyForCapture();
}

void CameraView::takePicture()
{
    if (isReady())
        m_capture->capture();
    else if (onError)
        onError(QStringLiteral("The camera is not ready"));
}

void CameraView::layoutSubviews()
{
    if (m_viewfinder)
        m_viewfinder->setGeometry(QRect(QPoint(0, 0), bounds().size().toSize()));
}
