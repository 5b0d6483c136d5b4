#include "HelpPicture.h"

#include <QPainter>
#include <QPainterPath>

namespace HelpPicture {

QString title() {
    return QStringLiteral("Configuration Steps");
}

QStringList steps() {
    return {
        QStringLiteral("Insert the SIM card into the device."),
        QStringLiteral("Connect the power supply."),
        QStringLiteral("Set the device clock by SMS."),
        QStringLiteral("Connect the USB cable between the device and the PC."),
        QStringLiteral("Look up the serial port of the USB-to-UART bridge (CP210x) in the "
                       "system's device list, usually /dev/ttyUSB0."),
        QStringLiteral("Choose that port beside \"COM Port:\" and press \"Open\": the port "
                       "indicator turns green."),
        QStringLiteral("Type the device password and press \"Log in\"."),
        QStringLiteral("Press \"Read Settings\" on the Basic Settings page."),
        QStringLiteral("Change the parameters."),
        QStringLiteral("Press \"Save Settings\"."),
        QStringLiteral("Disconnect the cable and restart the device."),
    };
}

QPixmap render() {
    QPixmap pm(Width, Height);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QColor accent(40, 90, 170);
    p.fillRect(QRect(0, 0, Width, 56), QColor(166, 202, 240));
    QFont heading = p.font();
    heading.setPixelSize(26);
    heading.setBold(true);
    p.setFont(heading);
    p.setPen(accent.darker(130));
    p.drawText(QRect(0, 0, Width, 56), Qt::AlignCenter, title());

    QFont number = heading;
    number.setPixelSize(14);
    QFont body = p.font();
    body.setBold(false);
    body.setPixelSize(15);

    const QStringList list = steps();
    const int top = 70;
    const int pitch = (Height - top - 8) / int(list.size());
    for (int i = 0; i < list.size(); ++i) {
        const int y = top + i * pitch;
        const QRectF badge(24, y + (pitch - 26) / 2.0, 26, 26);
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawEllipse(badge);
        p.setFont(number);
        p.setPen(Qt::white);
        p.drawText(badge, Qt::AlignCenter, QString::number(i + 1));
        p.setFont(body);
        p.setPen(Qt::black);
        p.drawText(QRect(64, y, Width - 84, pitch), Qt::AlignVCenter | Qt::TextWordWrap, list[i]);
        if (i + 1 < list.size()) {
            p.setPen(QPen(QColor(200, 210, 225), 1));
            p.drawLine(QPointF(64, y + pitch - 0.5), QPointF(Width - 24, y + pitch - 0.5));
        }
    }
    p.setPen(QPen(accent, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, Width - 2, Height - 2));
    return pm;
}

} // namespace HelpPicture
