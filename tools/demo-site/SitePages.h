#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace clipnab {

struct DemoVideo;

// The demo site's HTML pages, UTF-8 encoded. Links are site-relative.
QByteArray homePage(const QList<const DemoVideo *> &videos);
QByteArray resultsPage(const QString &query, const QList<const DemoVideo *> &videos);
QByteArray watchPage(const DemoVideo &video, const QList<const DemoVideo *> &related);
// fileAddress is the site-relative address of the video file, empty when it cannot be given.
QByteArray playerPage(const DemoVideo &video, const QString &fileAddress);
QByteArray notFoundPage(const QString &message);

QString watchAddress(const QString &id);
QString thumbnailAddress(const QString &id);

} // namespace clipnab
