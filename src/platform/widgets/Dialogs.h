#pragma once

class QString;
class QWidget;

namespace clipnab {

// The program's message boxes: caption "Warning", the exclamation icon, OK or OK and Cancel.
class Dialogs
{
public:
    enum class Answer
    {
        Ok,
        Cancel
    };

    virtual ~Dialogs() = default;
    virtual void warning(QWidget *parent, const QString &text) = 0;
    virtual Answer confirm(QWidget *parent, const QString &text) = 0;
};

class MessageBoxDialogs final : public Dialogs
{
public:
    void warning(QWidget *parent, const QString &text) override;
    Answer confirm(QWidget *parent, const QString &text) override;
};

} // namespace clipnab
