#include "platform/widgets/Dialogs.h"

#include <QMessageBox>

namespace clipnab {

namespace {
const QString kCaption = QStringLiteral("Warning");
}

void MessageBoxDialogs::warning(QWidget *parent, const QString &text)
{
    QMessageBox::warning(parent, kCaption, text, QMessageBox::Ok);
}

Dialogs::Answer MessageBoxDialogs::confirm(QWidget *parent, const QString &text)
{
    const auto button =
        QMessageBox::warning(parent, kCaption, text, QMessageBox::Ok | QMessageBox::Cancel);
    return button == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

} // namespace clipnab
