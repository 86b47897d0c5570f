#pragma once

#include "FixedClock.h"
#include "platform/Shell.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/PlatformContext.h"

#include <QDateTime>
#include <QStringList>

#include <memory>

namespace clipnab {

// Answers message boxes without showing them and records their texts.
class FakeDialogs final : public Dialogs
{
public:
    void warning(QWidget *, const QString &text) override { warnings->append(text); }
    Answer confirm(QWidget *, const QString &text) override
    {
        questions->append(text);
        return *answer;
    }

    // Shared with the test, which keeps reading them after handing the service over.
    std::shared_ptr<QStringList> warnings = std::make_shared<QStringList>();
    std::shared_ptr<QStringList> questions = std::make_shared<QStringList>();
    std::shared_ptr<Answer> answer = std::make_shared<Answer>(Answer::Ok);
};

class FakeShell final : public Shell
{
public:
    bool open(const QString &target) override
    {
        opened->append(target);
        return true;
    }
    std::shared_ptr<QStringList> opened = std::make_shared<QStringList>();
};

// Puts fake dialogs, shell and clock (fixed at 7 December, 01:05:09) into a context and keeps
// what they record.
struct FakeServiceSet
{
    explicit FakeServiceSet(PlatformContext &context)
    {
        auto dialogs = std::make_unique<FakeDialogs>();
        warnings = dialogs->warnings;
        questions = dialogs->questions;
        answer = dialogs->answer;
        context.setDialogs(std::move(dialogs));
        auto shell = std::make_unique<FakeShell>();
        opened = shell->opened;
        context.setShell(std::move(shell));
        auto clock = std::make_unique<FixedClock>(fixedTestTime());
        now = clock->when;
        context.setClock(std::move(clock));
    }

    std::shared_ptr<QStringList> warnings;
    std::shared_ptr<QStringList> questions;
    std::shared_ptr<Dialogs::Answer> answer;
    std::shared_ptr<QStringList> opened;
    std::shared_ptr<QDateTime> now;
};

} // namespace clipnab
