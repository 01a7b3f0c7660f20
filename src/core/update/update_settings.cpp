#include "update/update_settings.h"

#include "support/error.h"

#include <QDir>
#include <QStandardPaths>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace lexora {

namespace {

const QString kUpdate = QStringLiteral("Update");
const QString kUpdateInterval = QStringLiteral("UpdateInterval");
const QString kNoUpdate = QStringLiteral("NoUpdate");
const QString kOnlyUpdate = QStringLiteral("OnlyUpdate");
const QString kApplicationFileName = QStringLiteral("ApplicationFileName");
const QString kUpdateServer = QStringLiteral("UpdateServer");

constexpr int kDefaultInterval = 28;

} // namespace

QString updateSettingsFile(const QString &registryKey)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/QZ/") + registryKey + QStringLiteral(".ini");
}

int effectiveUpdateInterval(std::optional<int> storedInterval)
{
    return storedInterval && *storedInterval > 0 ? *storedInterval : kDefaultInterval;
}

DateTime nextDueDate(DateTime today, std::optional<int> storedInterval)
{
    return today + effectiveUpdateInterval(storedInterval) - 1;
}

UpdateSettings::UpdateSettings(const QString &file) : m_ini(file, QSettings::IniFormat) {}

std::optional<DateTime> UpdateSettings::dueDate() const
{
    const QByteArray hex = m_ini.value(kUpdate).toString().toLatin1();
    if (hex.size() != 16)
        return std::nullopt;
    const QByteArray bytes = QByteArray::fromHex(hex);
    // fromHex skips what is not a hex digit, so a malformed value comes out short.
    if (bytes.size() != 8)
        return std::nullopt;
    const quint64 bits = qFromLittleEndian<quint64>(bytes.constData());
    double date = 0;
    std::memcpy(&date, &bits, sizeof date);
    if (!std::isfinite(date))
        return std::nullopt;
    return date;
}

void UpdateSettings::setDueDate(DateTime date)
{
    quint64 bits = 0;
    std::memcpy(&bits, &date, sizeof bits);
    char bytes[8];
    qToLittleEndian(bits, bytes);
    m_ini.setValue(kUpdate, QString::fromLatin1(QByteArray(bytes, 8).toHex().toUpper()));
}

std::optional<int> UpdateSettings::updateInterval() const
{
    if (!m_ini.contains(kUpdateInterval))
        return std::nullopt;
    bool ok = false;
    const int days = m_ini.value(kUpdateInterval).toString().trimmed().toInt(&ok);
    return ok ? std::optional<int>(days) : std::nullopt;
}

void UpdateSettings::setUpdateInterval(int days)
{
    m_ini.setValue(kUpdateInterval, days);
}

void UpdateSettings::removeUpdateInterval()
{
    m_ini.remove(kUpdateInterval);
}

bool UpdateSettings::noUpdate() const
{
    return m_ini.contains(kNoUpdate);
}

void UpdateSettings::setNoUpdate(bool on)
{
    if (on)
        m_ini.setValue(kNoUpdate, QString());
    else
        m_ini.remove(kNoUpdate);
}

bool UpdateSettings::onlyUpdate() const
{
    return m_ini.contains(kOnlyUpdate);
}

QString UpdateSettings::applicationFileName() const
{
    return m_ini.value(kApplicationFileName).toString();
}

void UpdateSettings::setApplicationFileName(const QString &value)
{
    m_ini.setValue(kApplicationFileName, value);
}

QString UpdateSettings::updateServer() const
{
    return m_ini.value(kUpdateServer).toString().trimmed();
}

void UpdateSettings::save()
{
    m_ini.sync();
    if (m_ini.status() != QSettings::NoError)
        throw Error(Error::Kind::IoError, QStringLiteral("Die Update-Einstellungen konnten nicht in die Datei „%1“ "
                                   "geschrieben werden.")
                        .arg(QDir::toNativeSeparators(m_ini.fileName())));
}

} // namespace lexora
