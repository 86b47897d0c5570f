#pragma once

#include <QString>

class QDateTime;

namespace clipnab {

// Naming and measuring of the saved video file.
namespace SaveFile {

// month_day_hour_minute_second.flv, without leading zeros.
QString videoFileName(const QDateTime &when);

// The first name not yet taken in `folder`: "12_7_1_5_9.flv", then "12_7_1_5_9 (2).flv", "(3)", ...
// With `alsoSuffix`, a name is taken too while the name plus that suffix exists.
QString freeFileName(const QString &folder, const QString &fileName,
                     const QString &alsoSuffix = QString());

// The leading decimal digits of a Content-length value (blanks before them skipped); 0 without.
double leadingNumber(const QString &text);

// True when the header value starts with a digit, i.e. a length was announced.
bool announcesLength(const QString &text);

} // namespace SaveFile

} // namespace clipnab
