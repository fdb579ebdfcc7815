#pragma once

#include <QColor>
#include <QQuickPaintedItem>
#include <QUrl>
#include <QtQml/qqml.h>

namespace vantorel {

// A single-colour SVG symbol drawn in any colour, like the platform's template images: the
// drawing's shape is kept and its colour replaced. Rendered at the window's device pixel ratio,
// so it stays sharp at any size and scale, and without shaders, so the software renderer
// draws it too.
class SymbolIcon : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged FINAL)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged FINAL)

public:
    explicit SymbolIcon(QQuickItem *parent = nullptr);

    QUrl source() const { return m_source; }
    void setSource(const QUrl &source);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    void paint(QPainter *painter) override;

signals:
    void sourceChanged();
    void colorChanged();

private:
    QUrl m_source;
    QColor m_color = Qt::black;
};

} // namespace vantorel
