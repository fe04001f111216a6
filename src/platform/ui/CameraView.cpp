#include "platform/ui/CameraView.h"

#include "platform/ui/CameraBackend.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QWidget>

namespace {

// The camera module, loaded once and kept loaded for the process (the
// library object going at exit does not unload it): beside the program,
// else where the build put it.
QLibrary* cameraModule()
{
    static QLibrary library;
    static const bool loaded = [] {
        for (const QString& path : {QCoreApplication::applicationDirPath() + QStringLiteral("/mu_camera"),
                                    QStringLiteral(MU_CAMERA_MODULE)}) {
            library.setFileName(path);
            if (library.load())
                return true;
        }
        return false;
    }();
    return loaded ? &library : nullptr;
}

}  // namespace

CameraView::CameraView(const QRectF& frame) : View(frame)
{
    setBackgroundColor(Qt::black);
    QLibrary* module = cameraModule();
    const auto create =
        module ? reinterpret_cast<CameraModuleCreateFunction>(module->resolve("mu_camera_create")) : nullptr;
    if (!create)
        return;
    m_camera.reset(create(this));
    if (!m_camera)
        return;
    m_camera->onPicture = [this](const QImage& picture) {
        if (onPicture)
            onPicture(picture);
    };
    m_camera->onError = [this](const QString& message) {
        if (onError)
            onError(message);
    };
    layoutSubviews();
}

CameraView::~CameraView()
{
    stop();
}

bool CameraView::machineHasCamera()
{
    QLibrary* module = cameraModule();
    const auto present =
        module ? reinterpret_cast<CameraModulePresentFunction>(module->resolve("mu_camera_present")) : nullptr;
    return present && present();
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
    return m_camera && m_camera->isReady();
}

void CameraView::takePicture()
{
    if (isReady())
        m_camera->capture();
    else if (onError)
        onError(QStringLiteral("The camera is not ready"));
}

void CameraView::layoutSubviews()
{
    if (m_camera)
        m_camera->viewfinder()->setGeometry(QRect(QPoint(0, 0), bounds().size().toSize()));
}
