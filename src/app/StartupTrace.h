#pragma once

#include <QObject>

namespace clipnab {

class Form1;

// With CLIPNAB_TRACE_STARTUP set, the first paint of the window (with the window's size) and the
// home page's arrival are written to standard error as they happen; the start-up benchmark times
// them.
class StartupTrace final : public QObject
{
public:
    explicit StartupTrace(Form1 &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static void note(bool &done, const char *what);

    bool m_windowShown = false;
    bool m_homePageShown = false;
};

} // namespace clipnab
