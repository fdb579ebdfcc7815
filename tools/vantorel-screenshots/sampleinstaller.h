#pragma once

#include "installerinfo.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <QUrl>

namespace vantorel {

// An installer icon drawn here, in the spirit of the real ones: a coloured disc with a download
// badge, on a transparent margin.
inline QImage sampleInstallerIcon(int size = 512)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 100.0, size / 100.0);

    QRadialGradient disc(QPointF(40, 35), 55);
    disc.setColorAt(0, QColor(0xff, 0xc8, 0x6b));
    disc.setColorAt(0.5, QColor(0xd9, 0x5b, 0x8c));
    disc.setColorAt(1, QColor(0x4a, 0x3a, 0xb8));
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc);
    painter.drawEllipse(QRectF(8, 8, 84, 84));

    QLinearGradient badge(QPointF(0, 58), QPointF(0, 94));
    badge.setColorAt(0, QColor(0xf4, 0xf4, 0xf6));
    badge.setColorAt(1, QColor(0xc8, 0xc8, 0xcc));
    painter.setBrush(badge);
    painter.drawRoundedRect(QRectF(56, 58, 36, 36), 7, 7);
    QPainterPath arrow;
    arrow.moveTo(70, 64);
    arrow.lineTo(78, 64);
    arrow.lineTo(78, 76);
    arrow.lineTo(84, 76);
    arrow.lineTo(74, 87);
    arrow.lineTo(64, 76);
    arrow.lineTo(70, 76);
    arrow.closeSubpath();
    painter.setBrush(QColor(0x3a, 0x3a, 0x3c));
    painter.drawPath(arrow);
    return image;
}

// A plausible installer record, with or without its icon.
inline InstallerInfo sampleInstaller(bool withIcon = true)
{
    InstallerInfo info;
    info.path = QUrl::fromLocalFile(QStringLiteral("/Applications/Install macOS Sonoma.app"));
    info.name = QStringLiteral("Install macOS Sonoma");
    info.version = QStringLiteral("19.2.02");
    info.macOSVersion = QStringLiteral("14.2.1");
    info.buildNumber = QStringLiteral("23C71");
    info.size = 13'254'061'152;
    if (withIcon)
        info.icon = sampleInstallerIcon();
    return info;
}

} // namespace vantorel
