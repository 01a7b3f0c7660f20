// The exported database page in a real browser: it builds its tree while loading and opens keys
// and items on a click.
#include "exchange/html_export.h"

#include "support/names_with_markup.h"
#include "support/progress.h"
#include "support/scripted_prompt.h"

#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

using namespace lexora;

namespace {

Node *addItem(Node &parent, const Text &name, const Text &code)
{
    Node *node = parent.appendChild(name);
    auto item = std::make_unique<TTipItem>();
    item->Code = code;
    node->setItem(std::move(item));
    return node;
}

class ExportedPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        fill();

        HtmlExportOptions options;
        options.fileName = dir.path() + QStringLiteral("/datenbank.htm");
        options.title = title;
        options.fallbackFontFamily = QStringLiteral("DejaVu Sans");
        test::ScriptedPrompt prompt;
        NoProgress progress;
        ASSERT_EQ(ExportDatabaseHTML(db, options, prompt, progress).outcome,
                  HtmlExportResult::Exported);

        view.resize(900, 700);
        view.show();
        bool loaded = false;
        bool ok = false;
        QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool success) {
            loaded = true;
            ok = success;
        });
        view.load(QUrl::fromLocalFile(options.fileName));
        ASSERT_TRUE(QTest::qWaitFor([&] { return loaded; }, 60000));
        ASSERT_TRUE(ok);
    }

    // "Rezepte" holds the item "Küchen" and the key "Brote" with the item "Roggen"; "Zitat" is a
    // top-level item, "C:\Temp\" a top-level key.
    virtual void fill()
    {
        Node *rezepte = db.topLevel().appendChild("Rezepte");
        addItem(*rezepte, "K\xFC" "chen", "<p id=\"kuchen\">Mehl und Zucker</p>");
        Node *brote = rezepte->appendChild("Brote");
        addItem(*brote, "Roggen", "Sauerteig");
        addItem(db.topLevel(), "Zitat \"x\"", "<b id=\"zitat\">Zitiert</b>");
        // A trailing backslash must not end the script's string literal.
        db.topLevel().appendChild("C:\\Temp\\");
    }

    QVariant js(const QString &code)
    {
        QVariant result;
        bool done = false;
        view.page()->runJavaScript(code, [&](const QVariant &value) {
            result = value;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 20000)) << code.toStdString();
        return result;
    }

    // Clicks with the mouse on the middle of the element that the script expression gives.
    void click(const QString &element)
    {
        const QVariantList rect =
            js(QStringLiteral("(function(){var r=%1.getBoundingClientRect();"
                              "return [r.left+r.width/2, r.top+r.height/2];})()")
                   .arg(element))
                .toList();
        ASSERT_EQ(rect.size(), 2) << element.toStdString();
        QWidget *target = view.focusProxy() ? view.focusProxy() : &view;
        QTest::mouseClick(target, Qt::LeftButton, {},
                          QPoint(int(rect[0].toDouble()), int(rect[1].toDouble())));
    }

    // Waits until the script expression is true.
    bool becomes(const QString &condition)
    {
        return QTest::qWaitFor([&] { return js(condition).toBool(); }, 20000);
    }

    QTemporaryDir dir;
    Database db;
    QString title = QStringLiteral("Tipps");
    QWebEngineView view;
};

// Every name with markup characters as a key holding an item of the same name, and a title
// with them.
class ExportedNames : public ExportedPage {
protected:
    void fill() override
    {
        title = QString::fromUtf8("Wissen <Test> & \u2026 \"x\"");
        for (const char *name : test::NamesWithMarkup)
            addItem(*db.topLevel().appendChild(name), name, "<p class=\"inhalt\">Inhalt</p>");
    }
};

} // namespace

TEST_F(ExportedPage, AfterLoadingTheTreeIsShownWithClosedKeys)
{
    EXPECT_EQ(js(QStringLiteral("document.getElementById('wait').style.display")).toString(),
              QStringLiteral("none"));
    EXPECT_EQ(js(QStringLiteral("document.getElementById('database').style.display")).toString(),
              QStringLiteral("block"));
    // Three keys, every box showing "+", every block closed.
    EXPECT_EQ(js(QStringLiteral("Array.from(document.querySelectorAll('span.key'))"
                                ".map(function(s){return s.innerHTML;}).join(',')"))
                  .toString(),
              QStringLiteral("+,+,+"));
    EXPECT_EQ(js(QStringLiteral("Array.from(document.querySelectorAll('div.content, div.item'))"
                                ".filter(function(d){return d.offsetHeight > 0;}).length"))
                  .toInt(),
              0);
    // Names come through with their umlauts and quotation marks; the progress reached 100.
    EXPECT_EQ(js(QStringLiteral("Array.from(document.querySelectorAll('#database a'))"
                                ".map(function(a){return a.textContent;}).join('|')"))
                  .toString(),
              QString::fromUtf8("Rezepte|Küchen|Brote|Roggen|Zitat \"x\"|C:\\Temp\\"));
    EXPECT_EQ(js(QStringLiteral("document.getElementById('progress').innerText")).toString(),
              QStringLiteral("100"));
    EXPECT_EQ(js(QStringLiteral("document.title")).toString(), QStringLiteral("Tipps"));
}

TEST_F(ExportedPage, ClickingAKeyNameOpensItAndShowsTheDash)
{
    ASSERT_TRUE(becomes(QStringLiteral("document.getElementById('database').offsetHeight > 0")));
    // The key's name: the link in the span after its box.
    click(QStringLiteral("document.getElementById('sk1').nextElementSibling.firstChild"));
    EXPECT_TRUE(becomes(QStringLiteral("document.getElementById('k1').style.display == 'block'")));
    EXPECT_EQ(js(QStringLiteral("document.getElementById('sk1').innerHTML")).toString(),
              QString(QChar(0x2013)));
    // The nested key stays closed.
    EXPECT_EQ(js(QStringLiteral("document.getElementById('sk2').innerHTML")).toString(),
              QStringLiteral("+"));

    click(QStringLiteral("document.getElementById('sk1')")); // the box
    EXPECT_TRUE(becomes(QStringLiteral("document.getElementById('k1').style.display == 'none'")));
    EXPECT_EQ(js(QStringLiteral("document.getElementById('sk1').innerHTML")).toString(),
              QStringLiteral("+"));
}

TEST_F(ExportedPage, ClickingAnItemNameShowsItsPage)
{
    // The top-level item "Zitat" is the third item.
    ASSERT_TRUE(becomes(QStringLiteral("document.getElementById('zitat').offsetHeight == 0")));
    // The item's name: the link in the span before its arrow.
    click(QStringLiteral("document.getElementById('si3').previousElementSibling.firstChild"));
    EXPECT_TRUE(becomes(QStringLiteral("document.getElementById('zitat').offsetHeight > 0")));
    EXPECT_EQ(js(QStringLiteral("document.getElementById('i3').style.display")).toString(),
              QStringLiteral("block"));
    EXPECT_EQ(js(QStringLiteral("document.getElementById('si3').style.display")).toString(),
              QStringLiteral("inline"));
    EXPECT_EQ(js(QStringLiteral("document.getElementById('zitat').textContent")).toString(),
              QStringLiteral("Zitiert"));
}

TEST_F(ExportedNames, ShowAsTypedAndTheScriptRunsToTheEnd)
{
    // The last closeKey() set the progress to 100, and the page's onload handler ran.
    EXPECT_EQ(js(QStringLiteral("document.getElementById('progress').innerText")).toString(),
              QStringLiteral("100"));
    EXPECT_EQ(js(QStringLiteral("document.getElementById('wait').style.display")).toString(),
              QStringLiteral("none"));
    QStringList names;
    for (const char *name : test::NamesWithMarkup)
        names << QString::fromLatin1(name) << QString::fromLatin1(name);
    EXPECT_EQ(js(QStringLiteral("Array.from(document.querySelectorAll('#database a'))"
                                ".map(function(a){return a.textContent;})"))
                  .toStringList(),
              names);
    // No name swallowed an item's page: each sits in its own closed block.
    EXPECT_EQ(js(QStringLiteral("Array.from(document.querySelectorAll('div.item > p.inhalt'))"
                                ".filter(function(p){return p.offsetHeight == 0;}).length"))
                  .toInt(),
              int(std::size(test::NamesWithMarkup)));
    EXPECT_EQ(js(QStringLiteral("document.title")).toString(), title);
    EXPECT_EQ(js(QStringLiteral("document.querySelector('h1').textContent")).toString(), title);
}
