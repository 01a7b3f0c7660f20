#pragma once

#include <QString>

namespace lexora {

class InstanceFolder;

// Which database each running instance of Lexora has open, so that opening a file that another
// one has open can warn: both would save over each other's changes. Beside its lock, instance n
// keeps "Included Files/n.open" holding the full path of its open database (empty for none) and
// a shared lock on it while it runs; the lock goes with the process, also by a crash, so a
// record whose lock is free belongs to no running instance and is not believed.
class OpenFileRecord {
public:
    // Throws Error when the record cannot be made.
    explicit OpenFileRecord(const InstanceFolder &instance);
    ~OpenFileRecord();
    OpenFileRecord(const OpenFileRecord &) = delete;
    OpenFileRecord &operator=(const OpenFileRecord &) = delete;

    // Records the file this instance has open now; empty for none.
    void setOpenFile(const QString &fileName);
    // Whether another running instance has this file open.
    bool isOpenElsewhere(const QString &fileName) const;

private:
    QString m_folder;
    int m_number;
    int m_fd = -1;
};

} // namespace lexora
