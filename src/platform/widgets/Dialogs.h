#pragma once

class QString;
class QWidget;

namespace clipnab {

// The program's message boxes: caption "Warning", the exclamation icon, OK or OK and Cancel;
// a question answered Yes or No; and the program's About box.
class Dialogs
{
public:
    enum class Answer
    {
        Ok,
        Cancel
    };

    virtual ~Dialogs() = default;
    // `informativeText`, when not empty, says why under the fixed sentence `text`.
    virtual void warning(QWidget *parent, const QString &text, const QString &informativeText) = 0;
    virtual Answer confirm(QWidget *parent, const QString &text,
                           const QString &informativeText) = 0;
    // A question whose answer defaults to No; true for Yes.
    virtual bool ask(QWidget *parent, const QString &text) = 0;
    // `text` is rich text: the program's name, version, licence and address.
    virtual void about(QWidget *parent, const QString &title, const QString &text) = 0;
};

class MessageBoxDialogs final : public Dialogs
{
public:
    void warning(QWidget *parent, const QString &text, const QString &informativeText) override;
    Answer confirm(QWidget *parent, const QString &text, const QString &informativeText) override;
    bool ask(QWidget *parent, const QString &text) override;
    void about(QWidget *parent, const QString &title, const QString &text) override;
};

} // namespace clipnab
