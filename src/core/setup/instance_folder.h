#pragma once

#include <QString>

namespace lexora {

// The instance number and the instance's folders, for the life of the object.
//
// Instance n holds an exclusive lock (flock) on homeFolder + "Included Files/n.lock" while it
// runs and takes the smallest n whose lock it gets, so two instances never share a number, also
// when several start at the same moment, and a number is free again as soon as its instance ends,
// even by a crash. Its folders are "Included Files/n/", the included files' bytes, and
// "Included Files/n.temp/", temporary copies (pages too large for the browser's address). Both
// are cleared when the instance starts and removed when it ends; at the start the folders of
// every other number whose lock is free are removed too, since a crash left them, possibly with
// decrypted copies in them. While it runs, the instance's temporary folder is the process's
// (see temporaryFolder()). An ending instance removes its lock file and its record of the open
// database ("n.open") while it still holds the lock; the start of another one removes those a
// crash left.
class InstanceFolder {
public:
    // Throws Error when the folders cannot be created or cleared.
    explicit InstanceFolder(const QString &homeFolder);
    // Removes the instance's folders with everything in them and its files beside them, then
    // releases the number.
    ~InstanceFolder();
    InstanceFolder(const InstanceFolder &) = delete;
    InstanceFolder &operator=(const InstanceFolder &) = delete;

    // InstanceNumber: 1, 2, ...
    int number() const { return m_number; }
    // IncludedFilesFolder: homeFolder + "Included Files/<number>/", absolute, ends with '/'.
    const QString &includedFilesFolder() const { return m_folder; }
    // homeFolder + "Included Files/<number>.temp/", absolute, ends with '/'.
    const QString &temporaryFolder() const { return m_temporaryFolder; }
    // homeFolder + "Included Files/", where every instance keeps its lock and folders.
    const QString &instancesFolder() const { return m_parent; }

private:
    void removeStaleFolders() const;

    int m_number = 0;
    int m_lockFd = -1;
    QString m_parent;
    QString m_folder;
    QString m_temporaryFolder;
};

// Where this process puts temporary copies: the temporary folder of its instance while it has
// one, else the system's temporary folder. Ends with '/'.
QString temporaryFolder();

} // namespace lexora
