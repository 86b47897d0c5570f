#include "support/FakeServices.h"

#include "platform/widgets/PlatformContext.h"

#include <memory>

namespace clipnab {

FakeServices::FakeServices(PlatformContext &context)
{
    auto fakeDialogs = std::make_unique<FakeDialogs>();
    dialogs = fakeDialogs.get();
    context.setDialogs(std::move(fakeDialogs));
    auto fakeShell = std::make_unique<FakeShell>();
    shell = fakeShell.get();
    context.setShell(std::move(fakeShell));
    auto fakeClock = std::make_unique<FixedClock>();
    clock = fakeClock.get();
    context.setClock(std::move(fakeClock));
}

} // namespace clipnab
