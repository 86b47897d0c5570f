#pragma once

#include <QString>

#include <optional>

namespace clipnab {

// The video page marker and the live verdict on the address box.
namespace AddressCheck {

inline const QString kMarker = QStringLiteral("watch?v=");

// True when "watch?v=" occurs with at least one character after it (exact, case-sensitive).
bool hasVideoMarker(const QString &text);

// The live check: fewer than 8 characters or no usable marker is "not available".
bool isAvailable(const QString &text);

QString verdictCaption(bool available);

// The validation head of the download action: the first failing test's message, or nothing.
// `verdictNotAvailable` is what the live check last showed.
std::optional<QString> validate(const QString &text, bool verdictNotAvailable);

// The characters after the first marker up to the first "&" or "=" (may be empty).
QString cutVideoId(const QString &text);

} // namespace AddressCheck

} // namespace clipnab
