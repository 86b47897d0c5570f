#pragma once

#include <QString>

class QDateTime;

namespace clipnab {

// Naming and measuring of the saved video file.
namespace SaveFile {

// month_day_hour_minute_second.flv, without leading zeros.
QString videoFileName(const QDateTime &when);

// The leading decimal digits of a Content-length value (blanks before them skipped); 0 without.
double leadingNumber(const QString &text);

// True when the header value starts with a digit, i.e. a length was announced.
bool announcesLength(const QString &text);

} // namespace SaveFile

} // namespace clipnab
