#include "ui/pictures.h"

#include <QPainter>

namespace ui::pictures {

QIcon icon(Icon which) {
    QPixmap p(32, 32);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    static const QColor colours[] = {QColor(0, 0, 192), QColor(0, 128, 0), QColor(192, 0, 0), QColor(0, 96, 160),
                                     QColor(255, 128, 0), QColor(128, 0, 0), QColor(64, 64, 64), QColor(0, 128, 128),
                                     QColor(0, 128, 0)};
    g.setBrush(colours[static_cast<int>(which)]);
    g.setPen(Qt::NoPen);
    g.drawRoundedRect(4, 4, 24, 24, 5, 5);
    return QIcon(p);
}

QPixmap puzzle(int width, int height) {
    QPixmap p(width, height);
    p.fill(QColor(255, 255, 255));
    QPainter g(&p);
    const int s = 24;
    for (int y = 0; y < height; y += s)
        for (int x = 0; x < width; x += s) {
            int k = (x / s * 7 + y / s * 3) % 5;
            static const QColor c[] = {QColor(255, 128, 0), QColor(0, 0, 192), QColor(255, 255, 255),
                                       QColor(0, 128, 128), QColor(255, 255, 0)};
            g.fillRect(x, y, s - 1, s - 1, c[k]);
        }
    return p;
}

}  // namespace ui::pictures
