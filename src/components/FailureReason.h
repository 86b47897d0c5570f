#pragma once

#include <QString>

namespace clipnab {

// A reason is a lower-case phrase without a final full stop ("connection refused"), so that it
// can follow the sentence a user is shown.
namespace FailureReason {

// An error text of the system or of Qt ("Connection refused.") as a reason. A leading word in
// capitals ("SSL") keeps them.
QString fromSystemText(const QString &text);

} // namespace FailureReason

} // namespace clipnab
