#include "SitePages.h"

#include "VideoCatalog.h"

#include <QUrl>

namespace clipnab {

namespace {

const QLatin1String siteName("ClipTube");

const QLatin1String styleSheet(R"css(
body { margin: 0; font-family: Arial, Helvetica, sans-serif; background: #f4f4f4; color: #222; }
header { display: flex; align-items: center; gap: 24px; padding: 10px 24px; background: #fff;
         border-bottom: 1px solid #ddd; }
header .logo { font-size: 24px; font-weight: bold; color: #c00; text-decoration: none; }
header form { display: flex; flex: 1; max-width: 560px; }
header input[type=text] { flex: 1; padding: 6px 8px; border: 1px solid #bbb; }
header button { padding: 6px 14px; border: 1px solid #bbb; background: #eee; cursor: pointer; }
main { padding: 16px 24px; }
h1 { font-size: 20px; font-weight: normal; }
h2 { font-size: 16px; font-weight: normal; margin-top: 0; }
.grid { display: flex; flex-wrap: wrap; gap: 16px; }
.card { width: 160px; background: #fff; border: 1px solid #ddd; padding: 6px; }
.card img { width: 160px; height: 120px; display: block; background: #000; }
.card a { color: #03c; text-decoration: none; font-size: 13px; }
.meta { color: #777; font-size: 12px; }
.watch { display: flex; flex-wrap: wrap; gap: 24px; align-items: flex-start; }
.screen { width: 100%; max-width: 480px; height: auto; aspect-ratio: 4 / 3; background: #000;
          display: block; }
.related .card { margin-bottom: 12px; }
.player { background: #000; color: #eee; padding: 12px; max-width: 480px; }
.player a { color: #9cf; }
footer { padding: 16px 24px; color: #888; font-size: 12px; }
)css");

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString formatSize(qint64 size)
{
    if (size < 1024)
        return QStringLiteral("%1 bytes").arg(size);
    if (size < 1024 * 1024)
        return QStringLiteral("%1 KiB").arg((size + 1023) / 1024);
    return QStringLiteral("%1 MiB").arg((size + 1024 * 1024 - 1) / (1024 * 1024));
}

QString videoMeta(const DemoVideo &video)
{
    if (!video.duration.isEmpty())
        return video.duration;
    return formatSize(video.size());
}

QString videoCard(const DemoVideo &video)
{
    const QString link = escaped(watchAddress(video.id));
    return QStringLiteral(
               "<div class=\"card\"><a href=\"%1\"><img src=\"%2\" alt=\"\"></a>"
               "<a href=\"%1\" class=\"title\">%3</a><div class=\"meta\">%4</div></div>\n")
        .arg(link, escaped(thumbnailAddress(video.id)), escaped(video.title),
             escaped(videoMeta(video)));
}

QString videoGrid(const QList<const DemoVideo *> &videos)
{
    QString grid = QStringLiteral("<div class=\"grid\">\n");
    for (const DemoVideo *video : videos)
        grid += videoCard(*video);
    grid += QStringLiteral("</div>\n");
    return grid;
}

QByteArray page(const QString &title, const QString &content, const QString &searchText = {})
{
    const QString html =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                       "<title>%1</title><style>%2</style></head><body>\n"
                       "<header><a class=\"logo\" href=\"/\">%3</a>"
                       "<form action=\"/results\" method=\"get\">"
                       "<input type=\"text\" name=\"search_query\" value=\"%4\" "
                       "placeholder=\"Search\"><button type=\"submit\">Search</button></form>"
                       "</header>\n<main>\n%5</main>\n"
                       "<footer>%3 is a local demo site: every video on it is a test pattern."
                       "</footer>\n</body></html>\n")
            .arg(escaped(title), styleSheet, siteName, escaped(searchText), content);
    return html.toUtf8();
}

} // namespace

QString watchAddress(const QString &id)
{
    return QStringLiteral("/watch?v=") + QString::fromUtf8(QUrl::toPercentEncoding(id));
}

QString thumbnailAddress(const QString &id)
{
    return QStringLiteral("/thumb/") + QString::fromUtf8(QUrl::toPercentEncoding(id));
}

QByteArray homePage(const QList<const DemoVideo *> &videos)
{
    return page(siteName, QStringLiteral("<h1>Recommended videos</h1>\n") + videoGrid(videos));
}

QByteArray resultsPage(const QString &query, const QList<const DemoVideo *> &videos)
{
    const QString heading = videos.size() == 1 ? QStringLiteral("1 result")
                                               : QStringLiteral("%1 results").arg(videos.size());
    QString content = QStringLiteral("<h1>%1 for \"%2\"</h1>\n").arg(heading, escaped(query));
    if (videos.isEmpty())
        content += QStringLiteral("<p>No videos match your search.</p>\n");
    else
        content += videoGrid(videos);
    return page(query + QStringLiteral(" - ") + siteName, content, query);
}

QByteArray watchPage(const DemoVideo &video, const QList<const DemoVideo *> &related)
{
    const QString player =
        QStringLiteral("/v/") + QString::fromUtf8(QUrl::toPercentEncoding(video.id));
    QString content =
        QStringLiteral("<div class=\"watch\"><div><a href=\"%1\"><img class=\"screen\" src=\"%2\" "
                       "alt=\"\"></a><h1>%3</h1><div class=\"meta\">%4 &middot; "
                       "<a href=\"%1\">Open in the player</a></div></div>\n"
                       "<div class=\"related\"><h2>Related videos</h2>\n")
            .arg(escaped(player), escaped(thumbnailAddress(video.id)), escaped(video.title),
                 escaped(videoMeta(video)));
    for (const DemoVideo *other : related)
        content += videoCard(*other);
    content += QStringLiteral("</div></div>\n");
    return page(video.title + QStringLiteral(" - ") + siteName, content);
}

QByteArray playerPage(const DemoVideo &video, const QString &fileAddress)
{
    QString content = QStringLiteral("<div class=\"player\"><h1>%1</h1><img class=\"screen\" "
                                     "src=\"%2\" alt=\"\">")
                          .arg(escaped(video.title), escaped(thumbnailAddress(video.id)));
    if (fileAddress.isEmpty())
        content += QStringLiteral("<p>This video is not available.</p>");
    else
        content += QStringLiteral("<p><a href=\"%1\">Video file</a> (FLV, %2)</p>")
                       .arg(escaped(fileAddress), escaped(formatSize(video.size())));
    content += QStringLiteral("</div>\n");
    return page(video.title + QStringLiteral(" - ") + siteName, content);
}

QByteArray notFoundPage(const QString &message)
{
    return page(QStringLiteral("Not found - ") + siteName,
                QStringLiteral("<h1>%1</h1>\n<p><a href=\"/\">Back to the home page</a></p>\n")
                    .arg(escaped(message)));
}

} // namespace clipnab
