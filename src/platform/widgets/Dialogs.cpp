#include "platform/widgets/Dialogs.h"

#include <QMessageBox>

namespace clipnab {

namespace {
const QString kCaption = QStringLiteral("Warning");
}

void MessageBoxDialogs::warning(QWidget *parent, const QString &text,
                                const QString &informativeText)
{
    QMessageBox box(QMessageBox::Warning, kCaption, text, QMessageBox::Ok, parent);
    box.setInformativeText(informativeText);
    box.exec();
}

Dialogs::Answer MessageBoxDialogs::confirm(QWidget *parent, const QString &text)
{
    const auto button =
        QMessageBox::warning(parent, kCaption, text, QMessageBox::Ok | QMessageBox::Cancel);
    return button == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

void MessageBoxDialogs::about(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::about(parent, title, text);
}

} // namespace clipnab
