#include "about/about_box.h"

#include "about/about_banner.h"
#include "about/link_label.h"
#include "setup/maker.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

namespace lexora {

namespace {

constexpr int kRightEdge = 430;
constexpr QSize kLogoSize(112, 56);
constexpr int kIconSize = 32;

// A label with its text, right-aligned so that it ends at the box's right margin.
void placeRightAligned(QLabel *label, int y)
{
    label->adjustSize();
    label->move(kRightEdge - label->width(), y);
}

} // namespace

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent), m_logo(aboutLogo(kLogoSize)),
      m_openLink([](const QUrl &url) { QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("TInfo"));
    setFixedSize(435, 132);

    LogoPB = new QWidget(this);
    LogoPB->setObjectName(QStringLiteral("LogoPB"));
    LogoPB->setGeometry(0, 0, 435, 65);
    LogoPB->installEventFilter(this);

    InfoLbl = new QLabel(QLatin1String(maker::kLine), this);
    InfoLbl->setObjectName(QStringLiteral("InfoLbl"));
    EMailLbl = new LinkLabel(this);
    EMailLbl->setObjectName(QStringLiteral("EMailLbl"));
    EMailLbl->setText(QLatin1String(maker::kEmail));
    EMailLbl->setAccessibleDescription(QStringLiteral("E-Mail an den Hersteller schreiben"));
    URLLbl = new LinkLabel(this);
    URLLbl->setObjectName(QStringLiteral("URLLbl"));
    URLLbl->setText(QLatin1String(maker::kWebAddress));
    URLLbl->setAccessibleDescription(QStringLiteral("Webseite des Herstellers öffnen"));
    placeRightAligned(InfoLbl, 69);
    placeRightAligned(EMailLbl, 100);
    placeRightAligned(URLLbl, 113);

    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setGeometry(8, 101, 75, 25);
    OK->setDefault(true);

    connect(OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(EMailLbl, &LinkLabel::clicked, this, &AboutBox::EMailLblClick);
    connect(URLLbl, &LinkLabel::clicked, this, &AboutBox::URLLblClick);
}

QString AboutBox::versionText()
{
    return QStringLiteral(LEXORA_VERSION);
}

void AboutBox::prepare(const QString &title, const QString &period, const QIcon &icon)
{
    m_title = title;
    m_period = period;
    m_icon = icon;
    setWindowTitle(QStringLiteral("Info über ") + title);
    LogoPB->update();
}

void AboutBox::showAbout(const QString &title, const QString &period, const QIcon &icon)
{
    prepare(title, period, icon);
    exec();
}

bool AboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == LogoPB && event->type() == QEvent::Paint) {
        AboutBanner banner;
        banner.logo = m_logo;
        banner.icon = m_icon.pixmap(QSize(kIconSize, kIconSize), devicePixelRatio());
        banner.iconFrame = palette().color(QPalette::Window);
        banner.font = font();
        banner.title = m_title;
        banner.version = versionText();
        banner.period = m_period;
        QPainter(LogoPB).drawImage(0, 0, paintAboutBanner(LogoPB->size(), banner));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutBox::EMailLblClick()
{
    QUrl mail(QStringLiteral("mailto:") + QLatin1String(maker::kEmail));
    mail.setQuery(QStringLiteral("subject=Anwendung: ") + m_title);
    m_openLink(mail);
}

void AboutBox::URLLblClick()
{
    m_openLink(QUrl(QStringLiteral("http://") + QLatin1String(maker::kWebAddress)));
}

} // namespace lexora
