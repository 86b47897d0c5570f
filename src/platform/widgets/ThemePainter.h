#pragma once

class QImage;
class QRect;
class QWidget;

namespace clipnab {

// Visual styles: draws the themed push-button bevel (states 1 normal, 2 hot, 3 pressed,
// 4 disabled, 5 defaulted) through QStyle. A failure switch lets tests take the non-theme path.
class ThemePainter
{
public:
    // Returns false when the theme could not draw the part; nothing is drawn then.
    bool drawPushButton(QImage &target, const QRect &rect, int state, const QWidget *widget) const;

    void setAvailable(bool available) { m_available = available; }
    bool isAvailable() const { return m_available; }

private:
    bool m_available = true;
};

} // namespace clipnab
