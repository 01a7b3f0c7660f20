#pragma once

#include <QString>

#include <array>

namespace lexora {

// A code field's font as "Settings.ini" keeps it. Color is a Windows colour value: 0x00BBGGRR for
// a fixed colour, negative for a system colour (0xFF000000 | the system colour's number).
struct FontSetting {
    QString Name = QStringLiteral("Courier New");
    int Size = 8; // points
    qint32 Color = qint32(0xFF000008); // the system's window-text colour
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    friend bool operator==(const FontSetting &, const FontSetting &) = default;
};

// One level of the tree's sort order: a criterion and its mode, one byte each.
struct SortCriterium {
    quint8 Criterium = 0;
    quint8 Mode = 0;

    friend bool operator==(const SortCriterium &, const SortCriterium &) = default;
};

// Every value of "Settings.ini". The member initialisers are the fixed defaults; where the default
// is "the current state" of a window (sizes, wrap buttons, fonts, the information area) the caller
// fills a copy with that state and passes it to loadSettings as the defaults.
struct Settings {
    // [View]
    bool F1_Info = true;       // the main window's information area is shown
    bool F2_Wrap = false;      // the item editor's code field wraps lines
    bool F3_Wrap = false;      // the template manager's code field wraps lines
    int TabStop = 12;          // tab stop width of the code fields
    int F1_LeftArea = 280;     // width of the main window's tree
    int F2_RightArea = 330;    // width of the item editor's preview
    // The window sizes default to the windows' sizes at creation, so that a value written before
    // the window's state was known still gives a usable window.
    int F1_Width = 651;        // main window client size
    int F1_Height = 469;
    bool F1_Maximized = false;
    int F2_Width = 681;        // item editor client size
    int F2_Height = 452;
    bool F2_Maximized = false;
    // [F2_Font], [F3_Font]
    FontSetting F2_Font;       // the item editor's code field
    FontSetting F3_Font;       // the template manager's code field
    // [Settings]
    QString DefTemplate = QStringLiteral("Default.lxd"); // inside the templates folder; empty for none
    bool OpenLast = true;      // open the last database at start
    QString LastFile;          // the database open when the program closed; empty for none
    int BackupCount = 10;      // backups kept of each database file, at least 1
    // [SortCriteriums]
    int CountSortCriteriums = 2; // 0 to 3: the levels of SortCriteriums in use
    std::array<SortCriterium, 3> SortCriteriums{{{0, 0}, {1, 0}, {2, 0}}};

    friend bool operator==(const Settings &, const Settings &) = default;
};

// Reads "Settings.ini" at path. Every key that is missing, or whose value is not of its type (an
// integer key holding text, a sort value outside 0..255), keeps its value from defaults; a missing,
// unreadable or garbled file gives defaults. Sections and keys are found without regard to case,
// the first of equal keys wins. A count of sort criteria above 3 reads as 3, below 0 as 0; the
// levels beyond the count are not read and keep their defaults.
// The file is UTF-8 (the paths in it are Linux paths); a byte sequence that is not UTF-8 is taken
// as Windows-1252, as a file written on Windows would be.
Settings loadSettings(const QString &path, const Settings &defaults);

// Writes every value to path, atomically (the old file stays whole if writing fails), in the
// order [View], [F2_Font], [F3_Font], [Settings], [SortCriteriums]; Booleans as 1/0, integers in
// decimal, text in UTF-8; only the sort levels within the count. Throws Error when it cannot write.
void saveSettings(const QString &path, const Settings &values);

} // namespace lexora
