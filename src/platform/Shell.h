#pragma once

class QString;

namespace clipnab {

// The shell's document opener: a web address in the user's browser, a folder in the file
// browser.
class Shell
{
public:
    virtual ~Shell() = default;
    // Returns true when the request was handed on.
    virtual bool open(const QString &target) = 0;
};

class DesktopShell final : public Shell
{
public:
    bool open(const QString &target) override;
};

} // namespace clipnab
