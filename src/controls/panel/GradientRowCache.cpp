#include "controls/panel/GradientRowCache.h"

#include "platform/SystemColors.h"

namespace clipnab {

const RowBand *GradientRowCache::band(const SystemColors &colors, OleColor top, OleColor bottom,
                                      const RowGradient &gradient, int height, QPoint offset)
{
    const Key key{translateColor(top, colors), translateColor(bottom, colors), gradient, height,
                  offset};
    if (key != m_key) {
        m_key = key;
        m_band = gradientBand(colors, top, bottom, gradient, height);
        if (m_band) {
            m_band->left += offset.x();
            m_band->right += offset.x();
            m_band->top += offset.y();
        }
    }
    return m_band ? &*m_band : nullptr;
}

} // namespace clipnab
