#pragma once

#include "settings/settings.h"

#include <QFont>
#include <QObject>
#include <QPointer>

#include <array>
#include <vector>

namespace lexora {

class CodeField;

// How the code fields look, shared by all of them: the distance between tab stops and the
// fonts of the item editor's and the template manager's code field ("TabStop", "F2_Font",
// "F3_Font" in "Settings.ini"). Every attached field follows a change at once.
class CodeFieldSettings : public QObject {
    Q_OBJECT

public:
    // Whose font a field shows; the item window shows the item editor's.
    enum FontRole { ItemEditorFont = 0, TemplateManagerFont = 1 };

    explicit CodeFieldSettings(QObject *parent = nullptr);

    // Takes the values from the settings file's values and gives them back.
    void load(const Settings &settings);
    void store(Settings &settings) const;

    const QFont &font(FontRole role) const { return m_fonts[role]; }
    int tabStop() const { return m_tabStop; }
    // Sets the fonts and the distance together, as the display settings window applies them.
    void apply(const QFont &itemEditorFont, const QFont &templateManagerFont, int tabStop);

    // The field takes the font of role and the tab stops now and after every change.
    void attach(CodeField *field, FontRole role);

    // "Courier New, 8 Punkte": the family the font really shows and its size.
    static QString describe(const QFont &font);
    // A stored font; a family that is not installed gives the system's fixed font at the same
    // size and style.
    static QFont fontOf(const FontSetting &setting);
    // The stored form of a font; the colour is kept from colour, which no font dialog here sets.
    static FontSetting settingOf(const QFont &font, qint32 colour);

Q_SIGNALS:
    void changed();

private:
    void applyTo(CodeField &field, FontRole role) const;

    std::array<QFont, 2> m_fonts;
    std::array<qint32, 2> m_colours{};
    int m_tabStop = 12;
    std::vector<std::pair<QPointer<CodeField>, FontRole>> m_fields;
};

} // namespace lexora
