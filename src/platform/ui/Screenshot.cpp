#include "platform/ui/Screenshot.h"

#include "platform/ui/Animator.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>

QImage Screenshot::render(View* view, qreal zoom)
{
    if (!view)
        return QImage();
    QCoreApplication::processEvents();
    view->layoutIfNeeded();
    const QSize size = view->size();
    QImage image(size * zoom, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(zoom);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // A view that is not shown on its own (a screen's root off the window)
    // is painted as if it were.
    const bool wasHidden = view->isWindow() && !view->isVisible();
    if (wasHidden)
        view->setAttribute(Qt::WA_DontShowOnScreen, true), view->show();
    view->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    if (wasHidden)
        view->hide();
    painter.end();
    return image;
}

QImage Screenshot::render(ViewController* controller, qreal zoom)
{
    return controller ? render(controller->view(), zoom) : QImage();
}

bool Screenshot::savePNG(View* view, const QString& path, qreal zoom)
{
    const QImage image = render(view, zoom);
    if (image.isNull())
        return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    return image.save(path, "PNG");
}

bool Screenshot::savePNG(ViewController* controller, const QString& path, qreal zoom)
{
    return controller && savePNG(controller->view(), path, zoom);
}
