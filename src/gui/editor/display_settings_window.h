#pragma once

#include <QDialog>
#include <QFont>

#include <array>

class QLabel;
class QPushButton;
class QSlider;

namespace lexora {

class CodeField;
class CodeFieldSettings;

// "Anzeigeeigenschaften": the distance between tab stops of all code fields, with a preview of
// five sample lines, and the fonts of the item editor's and the template manager's code field.
// OK applies them to every code field; Cancel changes nothing.
class DisplaySettingsWindow : public QDialog {
    Q_OBJECT

public:
    explicit DisplaySettingsWindow(CodeFieldSettings &settings, QWidget *parent = nullptr);

    // The five lines of the preview: line k is k tabs, "Tab" and ten groups " _" and a digit,
    // the digits counting from k.
    static QString previewText();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void TrackBar_TabStopPositionChange(int position);
    void Button_ChangeFontClick(int font);
    void Button_OKClick();
    void showFonts();

    CodeFieldSettings &m_settings;
    // The working copies: 0 the item editor's font, 1 the template manager's.
    std::array<QFont, 2> m_fonts;

    QSlider *TrackBar_TabStopPosition = nullptr;
    QLabel *Label_TabStopPosition = nullptr;
    CodeField *Memo_TabPreview = nullptr;
    QLabel *Label_Font1 = nullptr;
    QLabel *Label_Font2 = nullptr;
    QPushButton *Button_ChangeF2Font = nullptr;
    QPushButton *Button_ChangeF3Font = nullptr;
    QPushButton *Button_OK = nullptr;
    QPushButton *Button_Cancel = nullptr;
};

} // namespace lexora
