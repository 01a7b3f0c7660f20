#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace lexora {

// The row that closes a dialog: its default button and "Ab&brechen" side by side at the right.
// "Ab&brechen" rejects the dialog; what the default button does is the dialog's own business.
struct DialogButtons {
    QPushButton *accept = nullptr;
    QPushButton *cancel = nullptr;
    QHBoxLayout *row = nullptr; // for the dialog to place in its layout
};

DialogButtons makeDialogButtons(QDialog *dialog, const QString &acceptCaption = QStringLiteral("&OK"),
                                const char *acceptName = "Button_OK");

} // namespace lexora
