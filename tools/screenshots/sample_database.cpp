#include "sample_database.h"

#include "database/win1252.h"
#include "document/document.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <memory>

namespace lexora {

namespace {

// Fixed dates, so that the pictures come out the same every time.
constexpr DateTime kCreated = 46001;  // 10.12.2025
constexpr DateTime kModified = 46366; // 10.12.2026

Node *add(Document &document, Node *parent, const char *title, const char *code = nullptr,
          bool autoFormat = false)
{
    std::unique_ptr<TTipItem> item;
    if (code) {
        item = std::make_unique<TTipItem>();
        item->Code = win1252::fromUnicode(QString::fromUtf8(code));
        item->HTMLTemplate = document.database().DefaultHTMLTemplate;
        item->CSSTemplate = document.database().DefaultCSSTemplate;
        item->AutoFormat = autoFormat;
        item->Created = kCreated;
        item->Modified = kModified;
        item->CreatedBy = "anna";
        item->ModifiedBy = "anna";
    }
    return document.appendNode(parent, win1252::fromUnicode(QString::fromUtf8(title)),
                               std::move(item));
}

// A small plan of a home network, the included picture of the sample.
QString drawNetworkPlan(const QString &workFolder)
{
    QImage plan(360, 150, QImage::Format_RGB32);
    plan.fill(Qt::white);
    QPainter painter(&plan);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(13);
    painter.setFont(font);
    const QRect router(130, 15, 100, 36);
    const QRect boxes[] = {QRect(15, 100, 100, 36), QRect(130, 100, 100, 36),
                           QRect(245, 100, 100, 36)};
    const char *names[] = {"NAS", "Laptop", "Drucker"};
    painter.setPen(QPen(Qt::darkGray, 2));
    for (const QRect &box : boxes)
        painter.drawLine(router.center(), box.center());
    painter.setPen(QPen(QColor(40, 80, 160), 2));
    painter.setBrush(QColor(220, 232, 250));
    painter.drawRoundedRect(router, 6, 6);
    painter.drawText(router, Qt::AlignCenter, QStringLiteral("Router"));
    for (int i = 0; i < 3; ++i) {
        painter.drawRoundedRect(boxes[i], 6, 6);
        painter.drawText(boxes[i], Qt::AlignCenter, QString::fromLatin1(names[i]));
    }
    painter.end();
    const QString file = workFolder + QStringLiteral("/Netzplan.png");
    plan.save(file);
    return file;
}

} // namespace

SampleNodes fillSampleDatabase(Document &document, const QString &workFolder)
{
    SampleNodes nodes;
    Node *linuxKey = add(document, nullptr, "Linux");
    nodes.shell = add(document, linuxKey, "Shell");
    nodes.findFiles = add(
        document, nodes.shell, "Dateien finden",
        "<p>Alle Dateien über 100 MB im Home-Ordner:</p>\r\n"
        "%>xhtml%.Code #1>find ~ -type f -size +100M -exec ls -lh {} +%<xhtml%\r\n"
        "<p>Mit <code>-mtime -7</code> nur die der letzten Woche.</p>");
    add(document, nodes.shell, "Prozesse",
        "<p><code>ps -eo pid,comm,pcpu --sort=-pcpu | head</code> zeigt die Prozesse mit der "
        "höchsten CPU-Last.</p>");
    Node *network = add(document, linuxKey, "Netzwerk");
    nodes.homeNetwork = add(document, network, "Heimnetz",
                            "<p>Übersicht über das Heimnetz:</p>\r\n"
                            "<img src=\"%file%Netzplan.png>\">");
    Node *cpp = add(document, nullptr, "C++");
    nodes.ranges = add(document, cpp, "Ranges",
                       "<p><code>std::ranges::sort(v);</code> sortiert einen ganzen Vektor.</p>");
    add(document, nullptr, "Einkaufsliste", "Kaffee\r\nBrot\r\nÄpfel", true);
    document.addIncludedFiles({drawNetworkPlan(workFolder)});
    document.addToTray(QList<Node *>{nodes.findFiles, nodes.ranges});
    document.sortTree();
    document.setModified(false);
    return nodes;
}

} // namespace lexora
