#pragma once

#include <memory>

namespace clipnab {

class Clock;
class Dialogs;
class Shell;
class SystemColors;
class ThemePainter;

// The services the controls and the window reach: system colours, theme, dialogs, shell and
// clock. One instance is made by whoever builds the window (the program, a tool or a test);
// tests replace single services.
class PlatformContext
{
public:
    PlatformContext();
    ~PlatformContext();
    PlatformContext(const PlatformContext &) = delete;
    PlatformContext &operator=(const PlatformContext &) = delete;

    SystemColors &systemColors() const { return *m_systemColors; }
    ThemePainter &theme() const { return *m_theme; }
    Dialogs &dialogs() const { return *m_dialogs; }
    Shell &shell() const { return *m_shell; }
    Clock &clock() const { return *m_clock; }

    void setDialogs(std::unique_ptr<Dialogs> dialogs);
    void setShell(std::unique_ptr<Shell> shell);
    void setClock(std::unique_ptr<Clock> clock);

    // Test switch: when false, pointer-leave tracking is unavailable and buttons are not
    // subclassed.
    bool canTrackLeave() const { return m_canTrackLeave; }
    void setCanTrackLeave(bool available) { m_canTrackLeave = available; }

private:
    std::unique_ptr<SystemColors> m_systemColors;
    std::unique_ptr<ThemePainter> m_theme;
    std::unique_ptr<Dialogs> m_dialogs;
    std::unique_ptr<Shell> m_shell;
    std::unique_ptr<Clock> m_clock;
    bool m_canTrackLeave = true;
};

} // namespace clipnab
