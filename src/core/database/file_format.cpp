#include "database/file_format.h"

#include "database/cipher.h"
#include "database/included_file_writer.h"
#include "database/save_failure.h"
#include "database/value_reader.h"
#include "database/value_writer.h"
#include "database/win1252.h"
#include "support/atomic_file.h"
#include "support/error.h"
#include "support/progress.h"
#include "support/system_error.h"
#include "support/user_prompt.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <array>
#include <optional>
#include <unordered_map>

namespace lexora {
namespace {

constexpr std::array<std::uint8_t, 4> kMagic = {0xBD, 0x94, 0x94, 0xF1};
constexpr int kTrayId = 0;
constexpr int kIncludedFilesId = 1;
// Trees of more levels are refused on load and save alike, so that reading one cannot exhaust
// the stack.
constexpr int kMaxDepth = 1000;
// Included files' bytes move in blocks of this size.
constexpr qint64 kCopyBlock = 256 * 1024;
// Progress is reported at most once per this many bytes.
constexpr qint64 kProgressStride = 128 * 1024;

QString quoted(const QString &fileName)
{
    return QLatin1Char('"') + fileName + QLatin1Char('"');
}

// A tray entry travels as its four little-endian bytes passed through the cipher.
qint32 cryptIndex(const TKeyClass &cipher, qint32 index)
{
    std::uint8_t bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = std::uint8_t(quint32(index) >> (8 * i));
    cipher.CryptBuffer(bytes, 4, 0);
    return qint32(quint32(bytes[0]) | quint32(bytes[1]) << 8 | quint32(bytes[2]) << 16
                  | quint32(bytes[3]) << 24);
}

// Reports progress only when enough bytes went by, so per-record calls stay cheap.
class Stepper {
public:
    Stepper(Progress &progress, qint64 total) : m_progress(progress), m_total(total) {}
    void at(qint64 done)
    {
        if (done - m_last < kProgressStride)
            return;
        m_last = done;
        m_progress.step(std::min(done, m_total));
    }

private:
    Progress &m_progress;
    qint64 m_total;
    qint64 m_last = 0;
};

// ---------------------------------------------------------------------------------------------
// Save

class Saver {
public:
    Saver(const Database &db, ValueWriter &writer, const TKeyClass &cipher, Stepper &stepper)
        : m_db(db), m_writer(writer), m_cipher(cipher), m_stepper(stepper) {}

    void writeTemplates(int list)
    {
        m_writer.writeListBegin();
        for (const auto &t : m_db.templates(list)) {
            writeString(t->Name);
            writeString(t->Description);
            writeString(t->Code);
            m_stepper.at(m_writer.position());
        }
        m_writer.writeListEnd();
        m_writer.writeInteger(m_db.templateIndex(list, m_db.defaultTemplate(list)));
    }

    // depth: the level of the nodes in this list.
    void writeNodeList(const Node &container, int depth)
    {
        if (depth >= kMaxDepth && container.childCount() > 0)
            throw Error(Error::Kind::InvalidInput, QStringLiteral("Die Datenbank kann nicht gespeichert werden: der Baum ist "
                                       "tiefer als %1 Ebenen verschachtelt.").arg(kMaxDepth));
        m_writer.writeListBegin();
        for (const Node &node : container.children()) {
            writeString(node.name());
            const TTipItem *item = node.item();
            m_writer.writeBoolean(item != nullptr);
            if (item) {
                writeString(item->Code);
                m_writer.writeDate(item->Created);
                m_writer.writeDate(item->Modified);
                writeString(item->CreatedBy);
                writeString(item->ModifiedBy);
                m_writer.writeInteger(m_db.templateIndex(HtmlTemplates, item->HTMLTemplate));
                m_writer.writeInteger(m_db.templateIndex(CssTemplates, item->CSSTemplate));
                m_writer.writeBoolean(item->AutoFormat);
            }
            writeNodeList(node, depth + 1);
            m_stepper.at(m_writer.position());
        }
        m_writer.writeListEnd();
    }

    void writeSections()
    {
        m_writer.writeListBegin();
        m_writer.writeInteger(kTrayId);
        writeTray();
        m_writer.writeInteger(kIncludedFilesId);
        m_writer.writeListBegin();
        for (const auto &file : m_db.IncludedFiles)
            writeIncludedFile(*file);
        m_writer.writeListEnd();
        m_writer.writeListEnd();
    }

private:
    void writeString(const Text &text)
    {
        if (m_cipher.isZero()) {
            m_writer.writeString(text);
            return;
        }
        // Enciphered into one buffer that every string reuses, not a new one per string.
        m_enciphered.resize(text.size());
        m_cipher.CryptBuffer(reinterpret_cast<const std::uint8_t *>(text.constData()),
                             std::size_t(text.size()), 0,
                             reinterpret_cast<std::uint8_t *>(m_enciphered.data()));
        m_writer.writeString(m_enciphered);
    }

    void writeTray()
    {
        m_writer.writeListBegin();
        if (!m_db.TrayNodes.empty()) {
            std::unordered_map<const Node *, qint32> index;
            const std::vector<const Node *> all = m_db.preorder();
            for (std::size_t i = 0; i < all.size(); ++i)
                index.emplace(all[i], qint32(i));
            for (const Node *node : m_db.TrayNodes) {
                auto it = index.find(node);
                if (it != index.end())
                    m_writer.writeInteger(cryptIndex(m_cipher, it->second));
            }
        }
        m_writer.writeListEnd();
    }

    // The size written is that of the bytes on disk, which are what the file must hold.
    void writeIncludedFile(const TInclFile &file)
    {
        const QString displayName = win1252::toUnicode(file.Name);
        QFile in(m_db.includedFilePath(file.Name));
        if (!in.open(QIODevice::ReadOnly))
            throw Error(Error::Kind::IoError, QStringLiteral("Die eingebundene Datei \"%1\" kann nicht gelesen werden: %2")
                            .arg(displayName, fileErrorText(in)));
        const qint64 size = in.size();
        if (size > std::numeric_limits<qint32>::max())
            throw Error(Error::Kind::InvalidInput, QStringLiteral("Die eingebundene Datei \"%1\" ist zu groß.").arg(displayName));
        writeString(file.Name);
        m_writer.writeInteger(qint32(size));
        QByteArray block(std::min(size, kCopyBlock), Qt::Uninitialized);
        for (qint64 done = 0; done < size;) {
            const qint64 n = in.read(block.data(), std::min(size - done, kCopyBlock));
            if (n <= 0)
                throw Error(Error::Kind::IoError, QStringLiteral("Die eingebundene Datei \"%1\" kann nicht vollständig "
                                           "gelesen werden.").arg(displayName));
            m_cipher.CryptBuffer(block.data(), std::size_t(n), unsigned(done % TKeyClass::KeySize));
            m_writer.writeRaw(block.constData(), n);
            done += n;
            m_stepper.at(m_writer.position());
        }
    }

    const Database &m_db;
    ValueWriter &m_writer;
    const TKeyClass &m_cipher;
    Stepper &m_stepper;
    Text m_enciphered;
};

// A rough byte count of the file for the progress display.
qint64 estimatedSize(const Database &db)
{
    qint64 size = 64;
    for (int list : {HtmlTemplates, CssTemplates})
        for (const auto &t : db.templates(list))
            size += 15 + t->Name.size() + t->Description.size() + t->Code.size();
    for (const Node *node : db.preorder()) {
        size += 8 + node->name().size();
        if (const TTipItem *item = node->item())
            size += 40 + item->Code.size() + item->CreatedBy.size() + item->ModifiedBy.size();
    }
    for (const auto &file : db.IncludedFiles)
        size += 10 + file->Name.size() + file->Size;
    return size;
}

// ---------------------------------------------------------------------------------------------
// Load

class Loader {
public:
    Loader(Database &db, const QString &fileName, LoadParts parts, UserPrompt &prompt, MergeWatcher *watcher,
           Progress &progress)
        : m_db(db), m_fileName(fileName), m_parts(parts), m_prompt(prompt), m_progress(progress),
          m_watcher(watcher)
    {
    }

    LoadResult run()
    {
        QFile file(m_fileName);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            throw Error(Error::Kind::IoError, QStringLiteral("Die Datei %1 kann nicht geöffnet werden: %2")
                            .arg(quoted(QDir::toNativeSeparators(m_fileName)), fileErrorText(file)));
        char first[strong::Magic.size()];
        const qint64 peeked = file.peek(first, qint64(sizeof first));
        if (strong::isContainer(QByteArrayView(first, std::max<qint64>(peeked, 0))))
            return readStrong(file);
        return readContent(file, false);
    }

private:
    // The database bytes of a plain or compatibly encrypted file, or of a strong container.
    LoadResult readContent(QIODevice &device, bool inContainer)
    {
        ValueReader reader(device, m_fileName);
        m_reader = &reader;
        if (readHeader(inContainer) == LoadResult::PasswordNotGiven)
            return LoadResult::PasswordNotGiven;

        ProgressScope scope(m_progress, QStringLiteral("Daten laden"),
                            QStringLiteral("Daten werden geladen..."), device.size());
        Stepper stepper(m_progress, device.size());
        m_stepper = &stepper;
        readTemplates(HtmlTemplates, lpHTMLTemplates);
        readTemplates(CssTemplates, lpCSSTemplates);
        readNodeList(nullptr, true, false, 0);
        readSections();
        m_db.DatabaseModified = false;
        return LoadResult::Read;
    }

    // A strong container: nothing of it reaches db unless every chunk is authentic. A merge
    // into a database that holds something checks the whole file first, since what it merged
    // could not be taken back; into an empty database the file is read once, and a damage
    // found on the way empties it again.
    LoadResult readStrong(QFile &file)
    {
        const std::optional<StrongHeader> header = StrongHeader::read(file);
        if (!header)
            refuseDamaged();
        SecretBytes password = askPassword();
        if (password.isEmpty())
            return passwordNotGiven();
        const std::shared_ptr<const StrongKey> key = StrongKey::derive(
            password, header->kdf, QByteArrayView(header->salt.data(), qsizetype(header->salt.size())));
        if (!header->admits(*key))
            refuseWrongPassword();

        const bool merging = m_db.topLevel().childCount() > 0 || !m_db.HTMLTemplates.empty()
                             || !m_db.CSSTemplates.empty() || !m_db.IncludedFiles.empty();
        if (merging) {
            StrongReader check(file, *header, key);
            check.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
            if (!check.drain())
                refuseDamaged();
            file.seek(strong::HeaderSize);
        }
        StrongReader content(file, *header, key);
        content.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        // The content asks for no password: it is read or it throws.
        try {
            readContent(content, true);
        } catch (const Error &) {
            // An intact container whose content does not fit is a damaged database like any other.
            if (content.drain())
                throw;
        }
        if (!content.drain()) {
            if (!merging)
                clearKeepingEncryption();
            refuseDamaged();
        }
        m_db.Encrypted = true;
        m_db.Encryption = EncryptionMode::Strong;
        m_db.Password = std::move(password);
        m_db.StrongKeyCache = key;
        return LoadResult::Read;
    }

    void clearKeepingEncryption()
    {
        const bool encrypted = m_db.Encrypted;
        const EncryptionMode mode = m_db.Encryption;
        SecretBytes password = std::move(m_db.Password);
        std::shared_ptr<const StrongKey> key = std::move(m_db.StrongKeyCache);
        m_db.ClearDatabase();
        m_db.Encrypted = encrypted;
        m_db.Encryption = mode;
        m_db.Password = std::move(password);
        m_db.StrongKeyCache = std::move(key);
    }

    SecretBytes askPassword()
    {
        return SecretBytes::taking(m_prompt.password(
            QStringLiteral("Passwort"),
            QStringLiteral("Die Datei %1 ist passwortgeschützt. Geben Sie das Passwort ein.")
                .arg(quoted(m_fileName))));
    }

    bool has(LoadParts part) const { return (m_parts & part) != 0; }
    // A String of the file through the cipher, deciphered in place.
    Text readString()
    {
        Text text = m_reader->readString();
        if (!m_cipher.isZero() && !text.isEmpty())
            m_cipher.CryptBuffer(text.data(), std::size_t(text.size()), 0);
        return text;
    }
    void step() { m_stepper->at(m_reader->position()); }

    // Magic, encryption flag and password; throws when the file is refused. A strong container's
    // content is never encrypted again.
    LoadResult readHeader(bool inContainer)
    {
        std::array<std::uint8_t, 4> magic{};
        const bool complete = m_reader->remaining() >= qint64(magic.size());
        if (complete)
            m_reader->readRaw(magic.data(), qint64(magic.size()));
        if (inContainer && (!complete || magic != kMagic))
            m_reader->fail(QStringLiteral("der Inhalt ist keine Datenbank"));
        if (!complete || magic != kMagic)
            refuseMagic();

        // The open database's encryption setting changes only once the password is accepted,
        // so a refused file leaves it as it was.
        const bool encrypted = m_reader->readBoolean();
        if (inContainer) {
            if (encrypted)
                m_reader->fail(QStringLiteral("der Inhalt ist ein zweites Mal verschlüsselt"));
            return LoadResult::Read;
        }
        if (!encrypted) {
            m_db.Encrypted = false;
            return LoadResult::Read;
        }
        SecretBytes password = askPassword();
        if (password.isEmpty())
            return passwordNotGiven();
        m_cipher.SetPassword(password.view());
        std::array<std::uint8_t, TKeyClass::KeySize> verifier{};
        m_reader->readRaw(verifier.data(), qint64(verifier.size()));
        if (!m_cipher.CheckVerifier(verifier.data()) || readString() != password)
            refuseWrongPassword();
        m_db.Encrypted = true;
        m_db.Encryption = EncryptionMode::Compatible;
        m_db.Password = std::move(password);
        m_db.StrongKeyCache.reset();
        return LoadResult::Read;
    }

    // A refused file leaves db as it was, unmodified as after every read.
    [[noreturn]] void refuse(Error::Kind kind, const QString &message)
    {
        m_db.DatabaseModified = false;
        throw Error(kind, message);
    }

    [[noreturn]] void refuseWrongPassword()
    {
        refuse(Error::Kind::WrongPassword,
               QStringLiteral("Das angegebene Passwort ist nicht korrekt."));
    }

    [[noreturn]] void refuseDamaged()
    {
        refuse(Error::Kind::Tampered,
               QStringLiteral("Die Datei %1 ist beschädigt oder wurde verändert. Es wird nichts "
                              "aus ihr geladen.")
                   .arg(quoted(m_fileName)));
    }

    [[noreturn]] void refuseMagic()
    {
        refuse(Error::Kind::NotADatabase,
               QStringLiteral("Die Datei %1 ist keine gültige Lexora-Datenbank.")
                   .arg(quoted(m_fileName)));
    }

    LoadResult passwordNotGiven()
    {
        m_db.DatabaseModified = false;
        return LoadResult::PasswordNotGiven;
    }

    void readTemplates(int list, LoadPart flag)
    {
        m_reader->readListBegin();
        if (!has(flag)) {
            while (!m_reader->endOfList())
                m_reader->skipValue();
            m_reader->readInteger();
            return;
        }
        std::vector<std::unique_ptr<TTemplate>> created;
        std::vector<TTemplate *> &local = m_local[list];
        while (!m_reader->endOfList()) {
            Text name = readString();
            Text description = readString();
            Text code = readString();
            TTemplate *record = m_db.FindTemplate(list, name);
            if (!record) {
                created.push_back(std::make_unique<TTemplate>());
                record = created.back().get();
            } else if (m_watcher) {
                m_watcher->templateOverwriting(record);
            }
            record->Name = std::move(name);
            record->Description = std::move(description);
            record->Code = std::move(code);
            local.push_back(record);
            step();
        }
        for (auto &record : created)
            m_db.templates(list).push_back(std::move(record));

        const qint32 position = m_reader->readInteger();
        if (!has(lpDefaultsAndTray))
            return;
        const auto &global = m_db.templates(list);
        if (position < -1 || position >= qint32(global.size()))
            m_reader->fail(QStringLiteral("die Standardvorlage %1 gibt es nicht").arg(position));
        m_db.defaultTemplate(list) = position < 0 ? nullptr : global[std::size_t(position)].get();
    }

    // A template position of an item: this file's template when its list is read, else the
    // open database's default.
    TTemplate *templateAt(int list, LoadPart flag, qint32 position)
    {
        if (!has(flag) || position == -1)
            return m_db.defaultTemplate(list);
        const std::vector<TTemplate *> &local = m_local[list];
        if (position < 0 || position >= qint32(local.size()))
            m_reader->fail(QStringLiteral("die Vorlage an Position %1 gibt es nicht").arg(position));
        return local[std::size_t(position)];
    }

    void readItem(TTipItem &item)
    {
        item.Code = readString();
        item.Created = m_reader->readDate();
        item.Modified = m_reader->readDate();
        item.CreatedBy = readString();
        item.ModifiedBy = readString();
        const qint32 html = m_reader->readInteger();
        const qint32 css = m_reader->readInteger();
        item.HTMLTemplate = templateAt(HtmlTemplates, lpHTMLTemplates, html);
        item.CSSTemplate = templateAt(CssTemplates, lpCSSTemplates, css);
        item.AutoFormat = m_reader->readBoolean();
    }

    // Reads one node list under parent. In merge mode a node is looked up among the children
    // the parent had before this load began (so that siblings of equal name in the file stay
    // apart), or created; under a node this load created everything is new. In skip mode the
    // values are read past.
    void readNodeList(Node *parent, bool merge, bool parentIsNew, int depth)
    {
        m_reader->readListBegin();
        Node &container = m_db.childrenOf(parent);
        const int existingChildren = parentIsNew ? 0 : container.childCount();
        while (!m_reader->endOfList()) {
            if (depth >= kMaxDepth)
                m_reader->fail(QStringLiteral("der Baum ist tiefer als %1 Ebenen verschachtelt")
                                   .arg(kMaxDepth));
            Text name = readString();
            Node *node = nullptr;
            bool isNew = false;
            if (merge) {
                for (int i = 0; i < existingChildren && !node; ++i)
                    if (container.child(i)->name() == name)
                        node = container.child(i);
                if (!node && has(lpNewEntries)) {
                    node = container.appendChild(std::move(name));
                    isNew = true;
                    if (m_watcher && !parentIsNew)
                        m_watcher->nodeAdded(node);
                }
            }
            if (m_reader->readBoolean()) {
                if (node && isNew) {
                    auto item = std::make_unique<TTipItem>();
                    readItem(*item);
                    node->setItem(std::move(item));
                } else if (node && node->isItem() && has(lpExistingEntries)) {
                    // Overwritten in place: the record keeps its identity.
                    TTipItem item;
                    readItem(item);
                    if (m_watcher)
                        m_watcher->itemOverwriting(node);
                    *node->item() = std::move(item);
                } else {
                    for (int i = 0; i < 8; ++i)
                        m_reader->skipValue();
                }
            }
            readNodeList(node, node != nullptr, isNew, depth + 1);
            step();
        }
    }

    void readSections()
    {
        m_reader->readListBegin();
        if (m_reader->peekTag() != vaNull && m_reader->peekTag() != vaInt8) {
            // The older layout: the section list is the included-files list and ends the file.
            readIncludedFileEntries();
            return;
        }
        while (!m_reader->endOfList()) {
            const qint32 id = m_reader->readInteger();
            if (id == kTrayId) {
                readTray();
            } else if (id == kIncludedFilesId) {
                m_reader->readListBegin();
                readIncludedFileEntries();
            } else {
                // A section this program does not know: read past it.
                m_reader->skipValue();
            }
        }
    }

    void readTray()
    {
        m_reader->readListBegin();
        std::vector<Node *> all;
        while (!m_reader->endOfList()) {
            const qint32 stored = m_reader->readInteger();
            if (!has(lpDefaultsAndTray))
                continue;
            if (all.empty())
                all = m_db.preorder();
            const qint32 index = cryptIndex(m_cipher, stored);
            if (index < 0 || index >= qint32(all.size()))
                m_reader->fail(QStringLiteral("den Eintrag %1 der Ablagemappe gibt es nicht").arg(index));
            Node *node = all[std::size_t(index)];
            if (std::find(m_db.TrayNodes.begin(), m_db.TrayNodes.end(), node) == m_db.TrayNodes.end())
                m_db.TrayNodes.push_back(node);
        }
    }

    // The entries of an included-files list up to and including its vaNull.
    void readIncludedFileEntries()
    {
        while (!m_reader->endOfList()) {
            const Text name = readString();
            const qint32 size = m_reader->readInteger();
            if (size < 0 || size > m_reader->remaining())
                m_reader->fail(QStringLiteral("ungültige Größe %1 der eingebundenen Datei").arg(size));
            if (has(lpIncludedFiles))
                readIncludedFile(name, size);
            else
                m_reader->skipRaw(size);
            step();
        }
    }

    void readIncludedFile(const Text &name, qint32 size)
    {
        if (!isSafeFileName(name))
            m_reader->fail(QStringLiteral("der Name \"%1\" einer eingebundenen Datei ist unzulässig")
                               .arg(win1252::toUnicode(name).replace(QChar(0), QLatin1String("\\0"))));
        if (!m_filesWriter) {
            m_filesWriter.emplace(m_db.IncludedFilesFolder);
            for (const auto &file : m_db.IncludedFiles)
                m_includedFiles.insert(file->Name, file.get());
        }
        // Names stay unique: a file of a name the database has already replaces that one.
        TInclFile *&record = m_includedFiles[name];
        if (record && m_watcher)
            m_watcher->includedFileOverwriting(record);
        m_filesWriter->begin(name, record != nullptr);
        QByteArray block(std::min<qint64>(size, kCopyBlock), Qt::Uninitialized);
        for (qint64 done = 0; done < size;) {
            const qint64 n = std::min<qint64>(size - done, kCopyBlock);
            m_reader->readRaw(block.data(), n);
            m_cipher.CryptBuffer(block.data(), std::size_t(n), unsigned(done % TKeyClass::KeySize));
            m_filesWriter->write(block.constData(), n);
            done += n;
            step();
        }
        m_filesWriter->end();
        if (record) {
            record->Size = size;
        } else {
            m_db.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{name, size}));
            record = m_db.IncludedFiles.back().get();
            if (m_watcher)
                m_watcher->includedFileAdded(record);
        }
    }

    Database &m_db;
    const QString m_fileName;
    const LoadParts m_parts;
    UserPrompt &m_prompt;
    Progress &m_progress;
    MergeWatcher *m_watcher;
    TKeyClass m_cipher;
    ValueReader *m_reader = nullptr;
    Stepper *m_stepper = nullptr;
    std::array<std::vector<TTemplate *>, 2> m_local;
    // Made at the first included file: the folder's writer and the database's files by name.
    std::optional<IncludedFileWriter> m_filesWriter;
    QHash<Text, TInclFile *> m_includedFiles;
};

} // namespace

bool isSafeFileName(const Text &name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/')
           && !name.contains('\\') && !name.contains('\0');
}

LoadResult LoadDatabase(Database &db, const QString &fileName, LoadParts parts, UserPrompt &prompt,
                        Progress &progress, MergeWatcher *watcher)
{
    return Loader(db, fileName, parts, prompt, watcher, progress).run();
}

void SaveDatabase(Database &db, const QString &fileName, bool asTemplate, Progress &progress,
                  const StrongParams &strongParams)
{
    if (db.Encrypted && db.Password.isEmpty())
        throw Error(Error::Kind::InvalidInput, QStringLiteral("Die Datenbank soll verschlüsselt gespeichert werden, es ist aber "
                                   "kein Passwort festgelegt."));
    // Written beside the target and renamed over it at the end: a failed or interrupted save
    // leaves the previous file as it was. Unbuffered, so that every failed write reaches the
    // writer at once; the writer buffers anyway.
    AtomicFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Error(Error::Kind::IoError, saveOpenFailureMessage(fileName, file.errorString(), folderTakesNewFiles(fileName)));
    auto cannotSave = [&](const QString &reason) {
        return Error(Error::Kind::IoError, QStringLiteral("Die Datei %1 kann nicht gespeichert werden: %2")
                         .arg(quoted(QDir::toNativeSeparators(fileName)), reason));
    };
    // A strong save writes the plain database bytes through the container.
    const bool strong = db.Encrypted && db.Encryption == EncryptionMode::Strong;
    std::optional<StrongWriter> container;
    if (strong) {
        if (!db.StrongKeyCache || !db.StrongKeyCache->fits(db.Password, strongParams.kdf))
            db.StrongKeyCache = StrongKey::derive(db.Password, strongParams.kdf);
        container.emplace(file.device(), db.StrongKeyCache, strongParams.chunkSize);
        if (!container->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            throw cannotSave(container->errorString());
    }
    ValueWriter writer(container ? static_cast<QIODevice &>(*container) : file.device(), fileName);
    TKeyClass cipher;
    writer.writeRaw(kMagic.data(), qint64(kMagic.size()));
    const bool compatible = db.Encrypted && !strong;
    writer.writeBoolean(compatible);
    if (compatible) {
        cipher.SetPassword(db.Password.view());
        const auto verifier = cipher.Verifier();
        writer.writeRaw(verifier.data(), qint64(verifier.size()));
        writer.writeString(cipher.CryptString(db.Password.exposed()));
    }

    const qint64 total = estimatedSize(db);
    ProgressScope scope(progress, QStringLiteral("Daten speichern"),
                        QStringLiteral("Daten werden gespeichert..."), total);
    Stepper stepper(progress, total);
    Saver saver(db, writer, cipher, stepper);
    saver.writeTemplates(HtmlTemplates);
    saver.writeTemplates(CssTemplates);
    saver.writeNodeList(db.topLevel(), 0);
    saver.writeSections();
    writer.flush();
    if (container && !container->finish())
        throw cannotSave(container->errorString());
    if (!file.commit())
        throw cannotSave(file.errorString());
    if (!asTemplate)
        db.DatabaseModified = false;
}

} // namespace lexora
