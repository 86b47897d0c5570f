#pragma once

#include <QByteArray>
#include <QString>

namespace clipnab {

// A 120 x 90 PNG for a video without a thumbnail of its own: a colour ramp chosen from the id
// with a white play mark in the middle.
QByteArray placeholderThumbnail(const QString &id);

} // namespace clipnab
