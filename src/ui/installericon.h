#pragma once

#include <QImage>
#include <QQuickPaintedItem>
#include <QtQml/qqml.h>

namespace vantorel {

// The installer's own icon, scaled smoothly to fit and lifted by a soft shadow. The shadow needs
// room beyond the icon: the picture is drawn inset by shadowMargin on every side, so the item is
// placed that much larger than the icon's frame.
class InstallerIcon : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QImage image READ image WRITE setImage NOTIFY imageChanged FINAL)
    Q_PROPERTY(qreal shadowMargin READ shadowMargin CONSTANT FINAL)

public:
    explicit InstallerIcon(QQuickItem *parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage &image);
    static constexpr qreal shadowMargin() { return 4.0; }

    void paint(QPainter *painter) override;

signals:
    void imageChanged();

private:
    QImage m_image;
};

} // namespace vantorel
