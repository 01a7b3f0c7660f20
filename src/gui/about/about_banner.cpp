#include "about/about_banner.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSvgRenderer>

#include <cstddef>

namespace lexora {

namespace embedded {
extern const unsigned char about_logo[];
extern const std::size_t about_logo_size;
} // namespace embedded

namespace {

const QColor kBannerBlue(74, 160, 255);

// start + (end − start) × step ÷ steps, channel by channel, in whole numbers as the banner was
// always drawn.
QColor blend(const QColor &start, const QColor &end, int step, int steps)
{
    const auto channel = [&](int s, int e) { return s + (e - s) * step / steps; };
    return QColor(channel(start.red(), end.red()), channel(start.green(), end.green()),
                  channel(start.blue(), end.blue()));
}

} // namespace

QImage aboutLogo(const QSize &size)
{
    QImage logo(size, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QSvgRenderer renderer(QByteArray::fromRawData(
        reinterpret_cast<const char *>(embedded::about_logo), qsizetype(embedded::about_logo_size)));
    QPainter p(&logo);
    renderer.render(&p);
    return logo;
}

QImage logoMask(const QImage &logo)
{
    QImage mask(logo.size(), QImage::Format_RGB32);
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x)
            mask.setPixel(x, y, (logo.pixel(x, y) & 0xffffff) == 0 ? 0xffffffff : 0xff000000);
    return mask;
}

QImage paintAboutBanner(const QSize &size, const AboutBanner &banner)
{
    const int w = size.width();
    const int h = size.height();
    const int a = w * 3 / 4;
    const int r = w - a;
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    for (int x = 0; x <= a; ++x) {
        p.setPen(blend(kBannerBlue, Qt::white, x, a));
        p.drawLine(x, 0, x, h);
    }
    for (int i = 0; i <= r; ++i) {
        p.setPen(blend(Qt::white, kBannerBlue, i, r));
        p.drawLine(w - r + i, 0, w - r + i, h);
    }

    // The mask whitens where the logo is black, then the logo darkens: black stays black, white
    // lets the banner through and colours tint it.
    if (!banner.logo.isNull()) {
        const QPoint at(w - r - banner.logo.width() / 2, 4);
        p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        p.drawImage(at, logoMask(banner.logo));
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p.drawImage(at, banner.logo);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    const QSize icon = banner.icon.size() / banner.icon.devicePixelRatio();
    const int iconTop = h / 2 - icon.height() / 2;
    p.drawPixmap(QRect(QPoint(8, iconTop), icon), banner.icon);
    p.setPen(banner.iconFrame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(7, iconTop - 1, icon.width() + 1, icon.height() + 1);

    QFont bold = banner.font;
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    const QFontMetrics metrics(banner.font);
    const int x = icon.width() + 16;
    const int t = boldMetrics.height();
    p.setPen(Qt::black);
    p.setFont(bold);
    p.drawText(x, h / 2 - t * 3 / 2 + boldMetrics.ascent(), banner.title);
    p.setFont(banner.font);
    p.drawText(x, h / 2 - t / 2 + metrics.ascent(), QStringLiteral("Version: ") + banner.version);
    p.drawText(x, h / 2 + metrics.height() / 2 + metrics.ascent(),
               QStringLiteral("Entwicklungszeit: ") + banner.period);
    return image;
}

} // namespace lexora
