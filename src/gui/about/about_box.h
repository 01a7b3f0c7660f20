#pragma once

#include <QDialog>
#include <QIcon>

#include <functional>

class QLabel;
class QPushButton;

namespace lexora {

class LinkLabel;

// The about box AboutBox ("Info über Lexora"): a painted banner with logo, icon, title, version and
// development period, the maker's line and links to the maker's e-mail address and web page,
// which open in the user's mail program and web browser.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget *parent = nullptr);

    // MenuItem_Info: shows the box modally for the program title, its development period and
    // its icon.
    void showAbout(const QString &title, const QString &period, const QIcon &icon);
    // The first half of showAbout, for a caller that shows the box itself.
    void prepare(const QString &title, const QString &period, const QIcon &icon);

    // The program's version as the box shows it.
    static QString versionText();

    // Where the links go; the desktop's mail program and web browser unless a test sets another.
    void setLinkOpener(std::function<void(const QUrl &)> opener) { m_openLink = std::move(opener); }

    QWidget *LogoPB = nullptr;
    QLabel *InfoLbl = nullptr;
    LinkLabel *EMailLbl = nullptr;
    LinkLabel *URLLbl = nullptr;
    QPushButton *OK = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void EMailLblClick();
    void URLLblClick();

    QString m_title;
    QString m_period;
    QIcon m_icon;
    QImage m_logo;
    std::function<void(const QUrl &)> m_openLink;
};

} // namespace lexora
