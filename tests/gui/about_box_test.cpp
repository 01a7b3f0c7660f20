// The about box: texts, layout, the painted banner and the two links.
#include "about/about_box.h"
#include "about/link_label.h"

#include "mainwindow/icons.h"
#include "support/gui_modal.h"

#include <QEnterEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace lexora;

namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        box.setLinkOpener([this](const QUrl &url) { opened << url; });
        box.prepare(QStringLiteral("Lexora"), QStringLiteral("2005"), applicationIcon());
    }

    AboutBox box;
    QList<QUrl> opened;
};

TEST_F(AboutBoxTest, TextsAndLayout)
{
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Info über Lexora"));
    EXPECT_EQ(box.size(), QSize(435, 132));
    EXPECT_EQ(box.minimumSize(), box.maximumSize()); // fixed
    EXPECT_EQ(box.LogoPB->geometry(), QRect(0, 0, 435, 65));
    EXPECT_EQ(AboutBox::versionText(), QStringLiteral("1.1.0.0"));
    EXPECT_FALSE(box.InfoLbl->text().isEmpty());
    EXPECT_EQ(box.EMailLbl->text(), QStringLiteral("lexora@example.org"));
    EXPECT_EQ(box.URLLbl->text(), QStringLiteral("www.example.org/lexora"));
    const struct {
        QLabel *label;
        int y;
    } labels[] = {{box.InfoLbl, 69}, {box.EMailLbl, 100}, {box.URLLbl, 113}};
    for (const auto &l : labels) {
        EXPECT_EQ(l.label->x() + l.label->width(), 430) << l.label->objectName().toStdString();
        EXPECT_EQ(l.label->y(), l.y);
    }
    EXPECT_EQ(box.OK->text(), QStringLiteral("OK"));
    EXPECT_EQ(box.OK->pos(), QPoint(8, 101));
    EXPECT_TRUE(box.OK->isDefault());
    EXPECT_EQ(box.EMailLbl->color(), QColor(Qt::blue));
    EXPECT_EQ(box.URLLbl->color(), QColor(Qt::blue));
}

TEST_F(AboutBoxTest, TheBannerRunsFromBlueToWhiteAndBackWithLogoIconAndTexts)
{
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const QImage banner = box.LogoPB->grab().toImage();
    ASSERT_EQ(banner.size() / banner.devicePixelRatio(), QSize(435, 65));
    // Above the logo and the texts: the gradient alone (a = 326, r = 109).
    const struct {
        int x;
        QColor color;
    } columns[] = {
        {0, QColor(74, 160, 255)},
        {163, QColor(164, 207, 255)},
        {326, QColor(255, 255, 255)},
        {434, QColor(76, 161, 255)},
    };
    for (const auto &c : columns)
        EXPECT_EQ(banner.pixelColor(c.x, 1), c.color) << "x = " << c.x;

    const auto count = [&banner](const QRect &area, const std::function<bool(QColor)> &is) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += is(banner.pixelColor(x, y)) ? 1 : 0;
        return n;
    };
    const auto black = [](QColor c) { return c.red() < 40 && c.green() < 40 && c.blue() < 40; };
    // The logo's black lines around the turn of the gradient, the icon at the left, the three
    // lines of text beside it.
    EXPECT_GT(count(QRect(270, 4, 112, 56), black), 200);
    EXPECT_GT(count(QRect(8, 16, 32, 32), [](QColor c) { return c.blue() > c.red() + 60 && c.red() < 100; }), 200);
    EXPECT_GT(count(QRect(48, 8, 150, 50), black), 100);
    EXPECT_EQ(count(QRect(48, 8, 150, 50), [](QColor c) { return c.red() > 200 && c.blue() < 100; }), 0);
}

TEST_F(AboutBoxTest, LinksChangeColourAndOpenMailAndWebPage)
{
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    for (LinkLabel *link : {box.EMailLbl, box.URLLbl}) {
        SCOPED_TRACE(link->objectName().toStdString());
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), link->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(link, &enter);
        EXPECT_TRUE(link->font().underline());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
        EXPECT_FALSE(link->font().underline());

        QTest::mousePress(link, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(link->color(), QColor(Qt::red));
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(link->color(), QColor(Qt::blue));
    }
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(opened[0].path(), QStringLiteral("lexora@example.org"));
    EXPECT_EQ(QUrlQuery(opened[0]).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
              QStringLiteral("Anwendung: Lexora"));
    EXPECT_EQ(opened[1], QUrl(QStringLiteral("http://www.example.org/lexora")));

    // A press that ends outside the link opens nothing.
    QTest::mousePress(box.URLLbl, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(box.URLLbl, Qt::LeftButton, {}, QPoint(-20, 3));
    EXPECT_EQ(opened.size(), 2);
}

TEST_F(AboutBoxTest, OkAndEscapeClose)
{
    for (const bool escape : {false, true}) {
        test::whenModal([this, escape](QWidget *) {
            if (escape)
                QTest::keyClick(&box, Qt::Key_Escape);
            else
                QTest::mouseClick(box.OK, Qt::LeftButton);
        });
        box.showAbout(QStringLiteral("Lexora"), QStringLiteral("2005"), applicationIcon());
        EXPECT_FALSE(box.isVisible());
    }
}

} // namespace
