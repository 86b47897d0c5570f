#pragma once

#include <QString>

#include <optional>

namespace clipnab {

// The search panel's rules, free of any window.
namespace SearchRules {

inline const QString kPlaceholder = QStringLiteral("Youtube Video Search");

// Any capitalisation of the placeholder words counts as the placeholder.
bool isPlaceholder(const QString &text);

// Leading and trailing blanks are removed; the words become one percent-encoded query value.
QString searchAddress(const QString &siteBase, const QString &words);

// Progress x 100 / max, half to even; a product beyond 32 bits or a max of 0 counts as 0.
// Nothing when the percentage is above 100.
std::optional<int> percentage(int progress, int progressMax);

QString progressCaption(int percent);
inline const QString kFinishedCaption = QStringLiteral("Page Loading Finished.");

} // namespace SearchRules

} // namespace clipnab
