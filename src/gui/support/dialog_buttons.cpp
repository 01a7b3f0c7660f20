#include "support/dialog_buttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace lexora {

DialogButtons makeDialogButtons(QDialog *dialog, const QString &acceptCaption, const char *acceptName)
{
    DialogButtons buttons;
    buttons.accept = new QPushButton(acceptCaption, dialog);
    buttons.accept->setObjectName(QLatin1String(acceptName));
    buttons.accept->setDefault(true);
    buttons.cancel = new QPushButton(QStringLiteral("Ab&brechen"), dialog);
    buttons.cancel->setObjectName(QStringLiteral("Button_Cancel"));
    QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    buttons.row = new QHBoxLayout;
    buttons.row->addStretch(1);
    buttons.row->addWidget(buttons.accept);
    buttons.row->addWidget(buttons.cancel);
    return buttons;
}

} // namespace lexora
