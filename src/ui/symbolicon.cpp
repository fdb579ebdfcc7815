#include "symbolicon.h"

#include <QPainter>
#include <QQuickWindow>
#include <QSvgRenderer>
#include <QtQml/qqmlcontext.h>
#include <QtQml/qqmlfile.h>
#include <cmath>

namespace vantorel {

SymbolIcon::SymbolIcon(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    setImplicitSize(16, 16);
}

void SymbolIcon::setSource(const QUrl &source)
{
    if (m_source == source)
        return;
    m_source = source;
    update();
    emit sourceChanged();
}

void SymbolIcon::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
    emit colorChanged();
}

void SymbolIcon::paint(QPainter *painter)
{
    const QRectF bounds = boundingRect();
    if (bounds.isEmpty() || m_source.isEmpty())
        return;
    // Like Image, resolve a relative source against the file that set it.
    const QQmlContext *context = qmlContext(this);
    const QUrl url = context ? context->resolvedUrl(m_source) : m_source;
    QSvgRenderer renderer(QQmlFile::urlToLocalFileOrQrc(url));
    if (!renderer.isValid())
        return;

    // Tint in a buffer of our own: the painter's device may hold more than this item.
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    QImage buffer(int(std::ceil(bounds.width() * ratio)), int(std::ceil(bounds.height() * ratio)),
                  QImage::Format_ARGB32_Premultiplied);
    buffer.setDevicePixelRatio(ratio);
    buffer.fill(Qt::transparent);
    {
        QPainter tint(&buffer);
        tint.setRenderHint(QPainter::Antialiasing);
        renderer.setAspectRatioMode(Qt::KeepAspectRatio);
        renderer.render(&tint, QRectF(QPointF(0, 0), bounds.size()));
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(QRectF(QPointF(0, 0), bounds.size()), m_color);
    }
    painter->drawImage(bounds, buffer);
}

} // namespace vantorel
