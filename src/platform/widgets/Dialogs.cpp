#include "platform/widgets/Dialogs.h"

#include <QCoreApplication>
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

Dialogs::Answer MessageBoxDialogs::confirm(QWidget *parent, const QString &text,
                                           const QString &informativeText)
{
    QMessageBox box(QMessageBox::Warning, kCaption, text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.setInformativeText(informativeText);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

bool MessageBoxDialogs::ask(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxDialogs::about(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::about(parent, title, text);
}

} // namespace clipnab
