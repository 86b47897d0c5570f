#pragma once

#include <QImage>
#include <QRect>

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace clipnab {

// Whether `image` holds the pixels of `patch` with its top-left corner at `at`; both images
// have 32-bit pixels and the patch lies inside the image.
bool imageHolds(const QImage &image, QPoint at, const QImage &patch);
// Copies `patch` into `image` with its top-left corner at `at`, under the same conditions.
void copyInto(QImage &image, QPoint at, const QImage &patch);

// What one drawing step did to a rectangle of an image, remembered for the last few steps: the
// same step over the same pixels is replayed by copying its result instead of drawing again,
// which gives exactly the pixels the drawing would. A step is named by a key that holds
// everything besides those pixels that decides what it draws (text, font, colour, state, ...).
template <typename Key> class PaintMemo
{
public:
    explicit PaintMemo(std::size_t capacity) : m_capacity(capacity) {}

    // Runs `draw` on the image, which changes nothing outside `rect` (device pixels), or
    // replays it. `draw` returns whether it drew; a step that did not is not remembered.
    template <typename Draw> bool paint(QImage &image, QRect rect, const Key &key, Draw &&draw)
    {
        rect &= image.rect();
        const auto hit = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry &e) {
            return e.rect == rect && e.key == key && imageHolds(image, rect.topLeft(), e.before);
        });
        if (hit != m_entries.end()) {
            copyInto(image, rect.topLeft(), hit->after);
            std::rotate(m_entries.begin(), hit, hit + 1);
            return true;
        }
        QImage before = image.copy(rect);
        if (!std::forward<Draw>(draw)())
            return false;
        if (m_entries.size() == m_capacity)
            m_entries.pop_back();
        m_entries.insert(m_entries.begin(), Entry{key, rect, std::move(before), image.copy(rect)});
        return true;
    }

    void clear() { m_entries.clear(); }

private:
    struct Entry
    {
        Key key;
        QRect rect;
        QImage before;
        QImage after;
    };

    std::size_t m_capacity;
    // The most recently used first.
    std::vector<Entry> m_entries;
};

} // namespace clipnab
