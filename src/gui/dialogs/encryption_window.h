#pragma once

#include "database/model.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lexora {

class Document;

// The encryption window EncryptionWindow ("Verschlüsselung"): switches the open database's encryption on or
// off and sets its password. There is no Cancel: the state of the controls when the window closes
// is the setting. Closing with the box checked and an empty password is refused, however the
// window is closed, with a warning at Edit_Password.
class EncryptionWindow : public QDialog {
    Q_OBJECT
public:
    explicit EncryptionWindow(QWidget *parent = nullptr);

    // MenuItem_Encryption: shows the window modally with the database's setting (Encrypted,
    // Password) and stores the setting back when it closes. The database is not marked modified:
    // the setting takes effect at the next save.
    void editEncryption(Document &document);

    // The two halves of editEncryption, for a caller that shows the window itself.
    void setFromDatabase(const Database &db);
    void storeInto(Document &document) const;

    // Refuses to close while the setting is incomplete; every way of closing ends here.
    void done(int result) override;

    QCheckBox *CheckBox_Encryption = nullptr;
    QLabel *Label_Password = nullptr;
    QLineEdit *Edit_Password = nullptr;
    // The kind of encryption, each with what it protects against.
    QRadioButton *RadioButton_Compatible = nullptr;
    QLabel *Label_CompatibleInfo = nullptr;
    QRadioButton *RadioButton_Strong = nullptr;
    QLabel *Label_StrongInfo = nullptr;
    QPushButton *Button_OK = nullptr;

private:
    void CheckBox_EncryptionClick();
};

} // namespace lexora
