#pragma once

#include <QString>

namespace clipnab {

// A reason is a lower-case phrase without a final full stop ("connection refused"), so that it
// can follow the sentence a user is shown.
namespace FailureReason {

// An error text of the system or of Qt ("Connection refused.") as a reason. A leading word in
// capitals ("SSL") keeps them.
QString fromSystemText(const QString &text);

// A reason (or a sentence ending in one) that says the disk is full or the user's quota used:
// more downloads would fail the same way until space is freed.
bool meansDiskFull(const QString &reason);

} // namespace FailureReason

} // namespace clipnab
