#pragma once

#include <QColor>
#include <QQuickPaintedItem>
#include <QtQml/qqml.h>

namespace vantorel {

// A rounded rectangle filled with a horizontal gradient, antialiased in every renderer. The
// software renderer draws the rounded corners of a gradient Rectangle without smoothing, and
// Qt Quick Shapes would cost the window's start-up several times what this costs.
class GradientFace : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor startColor READ startColor WRITE setStartColor NOTIFY startColorChanged FINAL)
    Q_PROPERTY(QColor endColor READ endColor WRITE setEndColor NOTIFY endColorChanged FINAL)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged FINAL)

public:
    explicit GradientFace(QQuickItem *parent = nullptr);

    QColor startColor() const { return m_startColor; }
    void setStartColor(const QColor &color);
    QColor endColor() const { return m_endColor; }
    void setEndColor(const QColor &color);
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);

    void paint(QPainter *painter) override;

signals:
    void startColorChanged();
    void endColorChanged();
    void radiusChanged();

private:
    QColor m_startColor = Qt::transparent;
    QColor m_endColor = Qt::transparent;
    qreal m_radius = 0;
};

} // namespace vantorel
