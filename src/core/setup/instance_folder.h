#pragma once

#include <QString>

namespace lexora {

// The instance number and the instance's folder for included files, for the life of the object.
//
// Instance n holds an exclusive lock (flock) on homeFolder + "Included Files/n.lock" while it
// runs and takes the smallest n whose lock it gets, so two instances never share a number, also
// when several start at the same moment, and a number is free again as soon as its instance ends,
// even by a crash. The folder "Included Files/n/" is cleared (whatever a crashed instance left in
// it goes) and created anew. The lock files stay; they are empty.
class InstanceFolder {
public:
    // Throws Error when the folders cannot be created or cleared.
    explicit InstanceFolder(const QString &homeFolder);
    // Removes the instance's folder with everything in it, then releases the number.
    ~InstanceFolder();
    InstanceFolder(const InstanceFolder &) = delete;
    InstanceFolder &operator=(const InstanceFolder &) = delete;

    // InstanceNumber: 1, 2, ...
    int number() const { return m_number; }
    // IncludedFilesFolder: homeFolder + "Included Files/<number>/", absolute, ends with '/'.
    const QString &includedFilesFolder() const { return m_folder; }

private:
    int m_number = 0;
    int m_lockFd = -1;
    QString m_folder;
};

} // namespace lexora
