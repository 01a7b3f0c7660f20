#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace lexora {

// What the about box's banner shows.
struct AboutBanner {
    QImage logo;        // black lines on white; white lets the banner through
    QPixmap icon;       // the program icon
    QColor iconFrame;   // the one-pixel frame around the icon
    QFont font;         // the title is drawn in its bold form
    QString title;
    QString version;
    QString period;
};

// The banner of size: a gradient from light blue to white at three quarters of the width and
// back, the logo centred on that turn, the icon at the left, and title, "Version: " and
// "Entwicklungszeit: " beside it.
QImage paintAboutBanner(const QSize &size, const AboutBanner &banner);

// The logo and its mask: the mask is white where the logo is black and black elsewhere.
QImage aboutLogo(const QSize &size);
QImage logoMask(const QImage &logo);

} // namespace lexora
