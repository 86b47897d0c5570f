#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace clipnab {

struct GalleryTile
{
    QImage image;
    QString label;
};

// Lays the tiles out left to right in rows of `columns` cells, each cell as large as the
// largest tile, with its label below it and an optional title above the grid.
QImage composeGallery(const QList<GalleryTile> &tiles, int columns, const QString &title);

} // namespace clipnab
