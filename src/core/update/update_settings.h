#pragma once

#include "database/model.h"

#include <QSettings>
#include <QString>

#include <optional>

namespace lexora {

// Where the update values live: the INI file $XDG_CONFIG_HOME/QZ/<registryKey>.ini (by default
// ~/.config/QZ/), the values in its [General] section. The machine-wide and the user's registry
// root both map to this one file.
QString updateSettingsFile(const QString &registryKey);

// The days between two automatic invitations: the stored interval when it is above 0, else 28.
int effectiveUpdateInterval(std::optional<int> storedInterval);

// The due date a finished check or a prepared installation stores: the next automatic invitation
// then comes on the day today + interval (the invitation needs today to be later than it).
DateTime nextDueDate(DateTime today, std::optional<int> storedInterval);

// The update values under their documented names. Reads see the file as it was when the store
// was made plus the changes made through it; save() writes the whole file atomically.
class UpdateSettings {
public:
    explicit UpdateSettings(const QString &file);

    // "Update": the day after which the next automatic invitation is due, kept as 16 hex digits
    // of the 8-byte little-endian double. Missing, malformed or not finite: nothing.
    std::optional<DateTime> dueDate() const;
    void setDueDate(DateTime date);

    // "UpdateInterval" as stored (any integer); nothing when missing or not a number.
    std::optional<int> updateInterval() const;
    void setUpdateInterval(int days);
    void removeUpdateInterval();

    // "NoUpdate", an empty value whose presence turns the automatic invitation off.
    bool noUpdate() const;
    void setNoUpdate(bool on);

    // "OnlyUpdate": when present, the program only runs the wizard and then ends.
    bool onlyUpdate() const;

    // "ApplicationFileName": the program's path in double quotes, then any extra argument text.
    QString applicationFileName() const;
    void setApplicationFileName(const QString &value);

    // "UpdateServer": host[:port], optionally with http:// or https:// before it; empty for none.
    QString updateServer() const;

    // Writes the values; throws Error with the file's name when that fails.
    void save();

private:
    QSettings m_ini;
};

} // namespace lexora
