#include "retrieval/SaveFile.h"

#include <QDateTime>

namespace clipnab::SaveFile {

QString videoFileName(const QDateTime &when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return QStringLiteral("%1_%2_%3_%4_%5.flv")
        .arg(d.month())
        .arg(d.day())
        .arg(t.hour())
        .arg(t.minute())
        .arg(t.second());
}

double leadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    double value = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i)
        value = value * 10 + (text[i].unicode() - '0');
    return value;
}

bool announcesLength(const QString &text)
{
    const QString t = text.trimmed();
    return !t.isEmpty() && t[0].unicode() >= '0' && t[0].unicode() <= '9';
}

} // namespace clipnab::SaveFile
