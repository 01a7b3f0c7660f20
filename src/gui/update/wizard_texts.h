#pragma once

#include <QString>
#include <QStringList>

// The wizard's texts that more than one part of it shows.
namespace lexora::wizard_texts {

inline QStringList stepTitles()
{
    return {QStringLiteral("Willkommen"), QStringLiteral("Auf neue Updates prüfen"),
            QStringLiteral("Ergebnis der Prüfung"), QStringLiteral("Download der Updates"),
            QStringLiteral("Installieren"), QStringLiteral("Abschließen der Installation")};
}

inline QString settingsTitle() { return QStringLiteral("Einstellungen"); }
inline QString next() { return QStringLiteral("Weiter >"); }
inline QString finish() { return QStringLiteral("Beenden"); }
inline QString cancelDownload() { return QStringLiteral("Download ab&brechen"); }
inline QString retryDownload() { return QStringLiteral("Erneut versuchen"); }

inline QString downloading()
{
    return QStringLiteral("Die Updates werden jetzt heruntergeladen. Bitten warten Sie, bis der "
                          "Download abgeschlossen ist, oder klicken Sie auf \"Download abbrechen\", "
                          "wenn Sie die Updates zu einer anderen Zeit herunterladen wollen.");
}

inline QString installReady()
{
    return QStringLiteral("Das Update kann jetzt installiert werden.\n"
                          "Klicken Sie auf \"Weiter\", um den Vorgang fortzusetzen und die "
                          "Installation durchzuführen.\n\n"
                          "Aktivieren Sie das Kontrollfeld \"Programm automatisch neu starten\", um "
                          "die Anwendung nach der Installation sofort neu zu starten.");
}

} // namespace lexora::wizard_texts
