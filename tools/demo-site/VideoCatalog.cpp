#include "VideoCatalog.h"

#include <QStringList>

namespace clipnab {

void VideoCatalog::add(const DemoVideo &video)
{
    if (DemoVideo *existing = find(video.id)) {
        *existing = video;
        return;
    }
    m_videos.append(video);
}

const DemoVideo *VideoCatalog::find(const QString &id) const
{
    for (const DemoVideo &video : m_videos) {
        if (video.id == id)
            return &video;
    }
    return nullptr;
}

DemoVideo *VideoCatalog::find(const QString &id)
{
    for (DemoVideo &video : m_videos) {
        if (video.id == id)
            return &video;
    }
    return nullptr;
}

QList<const DemoVideo *> VideoCatalog::search(const QString &query) const
{
    QList<const DemoVideo *> found;
    for (const DemoVideo &video : m_videos) {
        if (titleMatches(video.title, query))
            found.append(&video);
    }
    return found;
}

bool VideoCatalog::titleMatches(const QString &title, const QString &query)
{
    const QStringList words = query.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        if (!title.contains(word, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

} // namespace clipnab
