#pragma once

// The open and save cases that lexora-cli and the desktop program must answer alike: each front
// end's tests run this one table through its own commands.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace lexora::test {

struct OpenCase {
    const char *what;
    QString file;           // the file to open
    QByteArray password;    // given when the file asks for one; empty: none asked
    enum Outcome { Opened, Refused, Damaged } outcome;
    QStringList topTitles;  // the top-level titles once opened (already in sorted order)
    QString messageHas;     // a piece of the message shown, empty for none
};

// Writes the files of the open cases into folder (ending with '/') and returns the cases.
std::vector<OpenCase> writeOpenCases(const QString &folder);

struct SaveCase {
    const char *what;
    QString file;       // where to save
    bool saved;         // whether the save succeeds
    QString messageHas; // a piece of the error message when it fails
};

// Save targets below folder (ending with '/'): one that works, one in a missing folder.
std::vector<SaveCase> saveCases(const QString &folder);

} // namespace lexora::test
