#include "gradientface.h"

#include <QLinearGradient>
#include <QPainter>

namespace vantorel {

GradientFace::GradientFace(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void GradientFace::setStartColor(const QColor &color)
{
    if (m_startColor == color)
        return;
    m_startColor = color;
    update();
    emit startColorChanged();
}

void GradientFace::setEndColor(const QColor &color)
{
    if (m_endColor == color)
        return;
    m_endColor = color;
    update();
    emit endColorChanged();
}

void GradientFace::setRadius(qreal radius)
{
    if (qFuzzyCompare(m_radius, radius))
        return;
    m_radius = radius;
    update();
    emit radiusChanged();
}

void GradientFace::paint(QPainter *painter)
{
    const QRectF bounds = boundingRect();
    QLinearGradient gradient(bounds.topLeft(), bounds.topRight());
    gradient.setColorAt(0, m_startColor);
    gradient.setColorAt(1, m_endColor);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(gradient);
    painter->drawRoundedRect(bounds, m_radius, m_radius);
}

} // namespace vantorel
