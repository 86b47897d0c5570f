#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"

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

class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime when) : m_when(std::make_shared<QDateTime>(std::move(when))) {}
    QDateTime now() const override { return *m_when; }
    std::shared_ptr<QDateTime> m_when;
};

} // namespace clipnab
