// lexora-cli resave IN OUT: loads a database and saves it again, with its own encryption or the
// one --encrypt names.
#include "cli_document.h"
#include "verbs.h"

#include "support/error.h"

#include <optional>

namespace lexora::cli {
namespace {

struct Encryption {
    bool on = false;
    EncryptionMode mode = EncryptionMode::Compatible;
};

std::optional<Encryption> parseEncryption(const QString &value)
{
    if (value.isEmpty())
        return std::nullopt;
    if (value == QLatin1String("none"))
        return Encryption{};
    if (value == QLatin1String("compatible"))
        return Encryption{true, EncryptionMode::Compatible};
    if (value == QLatin1String("strong"))
        return Encryption{true, EncryptionMode::Strong};
    throw Error(Error::Kind::InvalidInput, QStringLiteral("Unbekannte Verschlüsselung \"%1\": erlaubt sind strong, "
                               "compatible und none.").arg(value));
}

int runResave(const QStringList &arguments)
{
    QStringList args = arguments;
    const DocumentOptions options = takeDocumentOptions(args);
    const std::optional<Encryption> encryption =
        parseEncryption(takeOption(args, QStringLiteral("--encrypt")));
    requireArguments(args, 2, QStringLiteral("resave IN OUT [--encrypt strong|compatible|none] "
                                             "[--password-file DATEI]"));
    CliDocument opened(options);
    opened.open(args.at(0));
    if (encryption) {
        // An encrypted database keeps its password; a plain one asks for the new one.
        SecretBytes password = opened.db().Password;
        if (encryption->on && password.isEmpty())
            password = SecretBytes::taking(opened.prompt().password(
                QStringLiteral("Passwort"),
                QStringLiteral("Geben Sie das Passwort ein, mit dem die Datei \"%1\" verschlüsselt "
                               "werden soll.").arg(args.at(1))));
        if (encryption->on && password.isEmpty())
            throw Error(Error::Kind::InvalidInput, QStringLiteral("Ohne Passwort kann die Datei nicht verschlüsselt werden."));
        opened.document().setEncryption(encryption->on, encryption->mode,
                                        encryption->on ? password : SecretBytes());
    }
    opened.save(args.at(1));
    return 0;
}

} // namespace

LEXORA_CLI_VERB("resave", "IN OUT [--encrypt strong|compatible|none] [--password-file FILE]",
                runResave)

} // namespace lexora::cli
