#pragma once

#include "controls/panel/PanelPainter.h"
#include "platform/Color.h"

#include <QPoint>

#include <optional>

namespace clipnab {

class SystemColors;

// The rows of one gradient, kept between redraws: they are graded again only when its colours,
// its rows or its place change.
class GradientRowCache
{
public:
    // The band gradientBand gives, moved by `offset`; null when the gradient paints nothing.
    const RowBand *band(const SystemColors &colors, OleColor top, OleColor bottom,
                        const RowGradient &gradient, int height, QPoint offset = {});

private:
    struct Key
    {
        Rgb top = 0;
        Rgb bottom = 0;
        RowGradient gradient;
        int height = 0;
        QPoint offset;
        friend bool operator==(const Key &, const Key &) = default;
    };

    std::optional<Key> m_key;
    std::optional<RowBand> m_band;
};

} // namespace clipnab
