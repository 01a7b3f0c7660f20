#include "codefield/code_field_settings.h"

#include "codefield/code_field.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPalette>

namespace lexora {

namespace {

// A Windows colour value 0x00BBGGRR; negative values are system colours, which the palette has.
bool isFixedColour(qint32 colour)
{
    return colour >= 0;
}

QColor colourOf(qint32 colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

} // namespace

CodeFieldSettings::CodeFieldSettings(QObject *parent) : QObject(parent)
{
    load(Settings{});
}

void CodeFieldSettings::load(const Settings &settings)
{
    m_fonts = {fontOf(settings.F2_Font), fontOf(settings.F3_Font)};
    m_colours = {settings.F2_Font.Color, settings.F3_Font.Color};
    m_tabStop = settings.TabStop;
    for (auto &[field, role] : m_fields)
        if (field)
            applyTo(*field, role);
    Q_EMIT changed();
}

void CodeFieldSettings::store(Settings &settings) const
{
    settings.F2_Font = settingOf(m_fonts[ItemEditorFont], m_colours[ItemEditorFont]);
    settings.F3_Font = settingOf(m_fonts[TemplateManagerFont], m_colours[TemplateManagerFont]);
    settings.TabStop = m_tabStop;
}

void CodeFieldSettings::apply(const QFont &itemEditorFont, const QFont &templateManagerFont,
                              int tabStop)
{
    m_fonts = {itemEditorFont, templateManagerFont};
    m_tabStop = tabStop;
    for (auto &[field, role] : m_fields)
        if (field)
            applyTo(*field, role);
    Q_EMIT changed();
}

void CodeFieldSettings::attach(CodeField *field, FontRole role)
{
    std::erase_if(m_fields, [](const auto &entry) { return entry.first.isNull(); });
    m_fields.emplace_back(field, role);
    applyTo(*field, role);
}

void CodeFieldSettings::applyTo(CodeField &field, FontRole role) const
{
    field.setFont(m_fonts[role]);
    QPalette palette = field.palette();
    palette.setColor(QPalette::Text, isFixedColour(m_colours[role])
                                         ? colourOf(m_colours[role])
                                         : QPalette().color(QPalette::Text));
    field.setPalette(palette);
    field.setTabStopUnits(m_tabStop);
}

QString CodeFieldSettings::describe(const QFont &font)
{
    return QFontInfo(font).family() + QStringLiteral(", ") + QString::number(font.pointSize())
           + QStringLiteral(" Punkte");
}

QFont CodeFieldSettings::fontOf(const FontSetting &setting)
{
    QFont font = QFontDatabase::hasFamily(setting.Name)
                     ? QFont(setting.Name)
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (setting.Size > 0)
        font.setPointSize(setting.Size);
    font.setBold(setting.Bold);
    font.setItalic(setting.Italic);
    font.setUnderline(setting.Underline);
    font.setStrikeOut(setting.StrikeOut);
    return font;
}

FontSetting CodeFieldSettings::settingOf(const QFont &font, qint32 colour)
{
    FontSetting setting;
    setting.Name = QFontInfo(font).family();
    setting.Size = font.pointSize();
    setting.Color = colour;
    setting.Bold = font.bold();
    setting.Italic = font.italic();
    setting.Underline = font.underline();
    setting.StrikeOut = font.strikeOut();
    return setting;
}

} // namespace lexora
