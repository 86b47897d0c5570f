#pragma once

#include "platform/Shell.h"
#include "platform/widgets/Dialogs.h"
#include "support/FixedClock.h"

#include <QStringList>

namespace clipnab {

class PlatformContext;

// Answers message boxes without showing them and records their texts.
class FakeDialogs final : public Dialogs
{
public:
    void warning(QWidget *, const QString &text, const QString &informativeText) override
    {
        warnings.append(text);
        informativeTexts.append(informativeText);
    }
    Answer confirm(QWidget *, const QString &text, const QString &informativeText) override
    {
        questions.append(text);
        questionDetails.append(informativeText);
        return answer;
    }
    bool ask(QWidget *, const QString &text) override
    {
        questions.append(text);
        questionDetails.append(QString());
        return yes;
    }
    void about(QWidget *, const QString &title, const QString &text) override
    {
        abouts.append(title + QLatin1Char('\n') + text);
    }

    QStringList warnings;
    // What each warning said under its sentence, in the same order; empty when nothing.
    QStringList informativeTexts;
    QStringList questions;
    QStringList questionDetails;
    // Each About box shown: its title, a line break and its text.
    QStringList abouts;
    Answer answer = Answer::Ok;
    bool yes = false;
};

// Records what would have been opened.
class FakeShell final : public Shell
{
public:
    bool open(const QString &target) override
    {
        opened.append(target);
        return true;
    }

    QStringList opened;
};

// Puts fake dialogs, shell and clock (at fixedTestTime()) into a context. The pointers observe
// the services the context owns: they stay valid until the context is gone or the test puts
// other services in their place.
struct FakeServices
{
    explicit FakeServices(PlatformContext &context);

    FakeDialogs *dialogs = nullptr;
    FakeShell *shell = nullptr;
    FixedClock *clock = nullptr;
};

} // namespace clipnab
