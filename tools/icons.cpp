// velmora-icons: writes the program's icon for the menu entry, painted by
// the same code as the window icon: DIR/scalable/apps/velmora.svg and
// DIR/NxN/apps/velmora.png at the sizes desktops ask for. Run at build time.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "ui/pictures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-icons DIR\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    auto folder = [&](const QString& sub) {
        QString path = dir + "/" + sub + "/apps";
        if (!QDir().mkpath(path)) {
            std::fprintf(stderr, "velmora-icons: cannot make %s\n", qPrintable(path));
            std::exit(1);
        }
        return path;
    };
    {
        QSvgGenerator svg;
        svg.setFileName(folder("scalable") + "/velmora.svg");
        svg.setSize(QSize(64, 64));
        svg.setViewBox(QRect(0, 0, 64, 64));
        svg.setTitle("Velmora");
        // The resolution of the screens the PNGs are painted for, so that the
        // letters have the same size in both.
        svg.setResolution(96);
        QPainter g(&svg);
        ui::pictures::paint(g, ui::pictures::Icon::App);
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter g(&image);
        g.scale(size / 64.0, size / 64.0);
        ui::pictures::paint(g, ui::pictures::Icon::App);
        g.end();
        const QString file = folder(QString("%1x%1").arg(size)) + "/velmora.png";
        if (!image.save(file)) {
            std::fprintf(stderr, "velmora-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
