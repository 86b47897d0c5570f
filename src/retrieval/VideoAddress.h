#pragma once

#include <QString>

#include <optional>

namespace clipnab {

// Addresses of the video locator.
namespace VideoAddress {

// The value after the first "&t=" (at least one character must follow it), up to the first
// "&" or "=" or the end; nothing when there is no such "&t=".
std::optional<QString> tValue(const QString &landedUrl);

QString playerAddress(const QString &siteBase, const QString &videoId);
QString videoFileAddress(const QString &siteBase, const QString &videoId, const QString &tValue);
QString homePage(const QString &siteBase);

} // namespace VideoAddress

} // namespace clipnab
