#include "installericon.h"

#include <QPainter>
#include <QQuickWindow>
#include <algorithm>
#include <cmath>
#include <vector>

namespace vantorel {

namespace {

// One pass of a box blur over the alpha channel of a premultiplied black image, in rows.
void blurAlphaRows(QImage &image, int radius)
{
    const int width = image.width();
    std::vector<int> alphas(std::size_t(width), 0);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            alphas[std::size_t(x)] = qAlpha(line[x]);
        int sum = 0;
        for (int x = -radius; x <= radius; ++x)
            sum += alphas[std::size_t(std::clamp(x, 0, width - 1))];
        for (int x = 0; x < width; ++x) {
            line[x] = qRgba(0, 0, 0, sum / (2 * radius + 1));
            sum += alphas[std::size_t(std::min(x + radius + 1, width - 1))];
            sum -= alphas[std::size_t(std::max(x - radius, 0))];
        }
    }
}

// A Gaussian-like blur of the alpha channel: three box passes each way.
QImage blurredAlpha(QImage image, int radius)
{
    if (radius <= 0)
        return image;
    for (int pass = 0; pass < 3; ++pass)
        blurAlphaRows(image, radius);
    image = image.transformed(QTransform().rotate(90));
    for (int pass = 0; pass < 3; ++pass)
        blurAlphaRows(image, radius);
    return image.transformed(QTransform().rotate(-90));
}

} // namespace

InstallerIcon::InstallerIcon(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void InstallerIcon::setImage(const QImage &image)
{
    if (m_image == image)
        return;
    m_image = image;
    update();
    emit imageChanged();
}

void InstallerIcon::paint(QPainter *painter)
{
    const QRectF frame =
        boundingRect().adjusted(shadowMargin(), shadowMargin(), -shadowMargin(), -shadowMargin());
    if (m_image.isNull() || frame.isEmpty())
        return;

    // Fit the picture into the frame, keeping its proportions, at the screen's pixel density.
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    const QSize pixels =
        m_image.size().scaled((frame.size() * ratio).toSize(), Qt::KeepAspectRatio);
    if (pixels.isEmpty())
        return;
    QImage picture = m_image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                         .scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QSizeF size = QSizeF(pixels) / ratio;
    const QRectF target(frame.center() - QPointF(size.width() / 2, size.height() / 2), size);

    // Shadow: the picture's silhouette in black at one third, blurred by about two points.
    const int blurPixels = int(std::lround(shadowMargin() * ratio));
    QImage shadow(pixels + QSize(2 * blurPixels, 2 * blurPixels),
                  QImage::Format_ARGB32_Premultiplied);
    shadow.fill(Qt::transparent);
    {
        QPainter silhouette(&shadow);
        silhouette.drawImage(QPoint(blurPixels, blurPixels), picture);
        silhouette.setCompositionMode(QPainter::CompositionMode_SourceIn);
        silhouette.fillRect(shadow.rect(), QColor(0, 0, 0, 84));
    }
    shadow = blurredAlpha(shadow, std::max(1, blurPixels / 3));
    shadow.setDevicePixelRatio(ratio);
    picture.setDevicePixelRatio(ratio);

    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(target.topLeft() - QPointF(shadowMargin(), shadowMargin()), shadow);
    painter->drawImage(target.topLeft(), picture);
}

} // namespace vantorel
