#include "platform/widgets/PlatformContext.h"

#include "platform/Clock.h"
#include "platform/Shell.h"
#include "platform/SystemColors.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/ThemePainter.h"

namespace clipnab {

PlatformContext::PlatformContext()
    : m_systemColors(std::make_unique<SystemColors>()), m_theme(std::make_unique<ThemePainter>()),
      m_dialogs(std::make_unique<MessageBoxDialogs>()), m_shell(std::make_unique<DesktopShell>()),
      m_clock(std::make_unique<SystemClock>())
{
}

PlatformContext::~PlatformContext() = default;

void PlatformContext::setDialogs(std::unique_ptr<Dialogs> dialogs)
{
    m_dialogs = std::move(dialogs);
}

void PlatformContext::setShell(std::unique_ptr<Shell> shell)
{
    m_shell = std::move(shell);
}

void PlatformContext::setClock(std::unique_ptr<Clock> clock)
{
    m_clock = std::move(clock);
}

} // namespace clipnab
