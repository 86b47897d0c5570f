#pragma once

#include "app/Form1.h"
#include "platform/widgets/PlatformContext.h"
#include "support/FakeServices.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

class QAction;
class QLabel;
class QLineEdit;

namespace clipnab {

class FakeBrowser;
class FakeTransfer;
class deRurara;

// The window shown, with fake message boxes, shell and clock. Its browsers and transfer are
// fakes the test drives by hand, or the components the test hands in (the real ones, in the
// end-to-end test).
class WindowRig
{
public:
    // Fake browsers and transfer against `siteBase`, saving into `folder` (inside a temporary
    // folder of the rig's own).
    explicit WindowRig(const QString &siteBase);
    explicit WindowRig(Form1::Components components);
    ~WindowRig();
    WindowRig(const WindowRig &) = delete;
    WindowRig &operator=(const WindowRig &) = delete;

    template <typename T> T *child(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QLineEdit *edit(const char *name) const;
    QLabel *label(const char *name) const;
    deRurara *button(const char *name) const;
    QAction *action(const char *name) const;

    QTemporaryDir dir;
    QString folder;
    PlatformContext context;
    FakeServices fakes{context};
    // The fake components; null when the test handed in its own.
    FakeBrowser *search = nullptr;
    FakeBrowser *locator = nullptr;
    FakeTransfer *transfer = nullptr;
    std::unique_ptr<Form1> window;

private:
    void show(Form1::Components components);
};

} // namespace clipnab
