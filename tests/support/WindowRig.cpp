#include "support/WindowRig.h"

#include "components/BrowserComponent.h"
#include "components/TransferComponent.h"
#include "controls/button/deRurara.h"
#include "support/FakeBrowser.h"
#include "support/FakeTransfer.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace clipnab {

WindowRig::WindowRig(const QString &siteBase)
{
    Form1::Components components;
    components.makeSearchBrowser = [this](QWidget *) {
        auto browser = std::make_unique<FakeBrowser>();
        search = browser.get();
        return browser;
    };
    auto locatorBrowser = std::make_unique<FakeBrowser>();
    locator = locatorBrowser.get();
    components.locatorBrowser = std::move(locatorBrowser);
    auto fakeTransfer = std::make_unique<FakeTransfer>();
    transfer = fakeTransfer.get();
    components.transfer = std::move(fakeTransfer);
    components.siteBase = siteBase;
    folder = dir.filePath(QStringLiteral("download"));
    components.downloadFolder = folder;
    show(std::move(components));
}

WindowRig::WindowRig(Form1::Components components)
{
    folder = components.downloadFolder;
    show(std::move(components));
}

WindowRig::~WindowRig() = default;

void WindowRig::show(Form1::Components components)
{
    window = std::make_unique<Form1>(context, std::move(components));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

QLineEdit *WindowRig::edit(const char *name) const
{
    return child<QLineEdit>(name);
}

QLabel *WindowRig::label(const char *name) const
{
    return child<QLabel>(name);
}

deRurara *WindowRig::button(const char *name) const
{
    return child<deRurara>(name);
}

QAction *WindowRig::action(const char *name) const
{
    return child<QAction>(name);
}

} // namespace clipnab
