#pragma once

#include <QWidget>

#include <memory>

namespace clipnab {

class Surface;
class SystemColors;

namespace AboutMetrics {
constexpr int kWidth = 380;
constexpr int kHeight = 180;
// The self-drawn Close button: left, top, right, bottom.
constexpr int kCloseLeft = 290;
constexpr int kCloseTop = 80;
constexpr int kCloseRight = 360;
constexpr int kCloseBottom = 106;
} // namespace AboutMetrics

// The button's about box: a child surface of the control, hidden until the control lifts it out
// as a window of its own. It paints itself on a Surface in the button face colour: the name,
// the version, two credit lines and a Close button it draws itself. A press anywhere shows the
// Close button pressed; a click anywhere hides the box.
class AboutBox final : public QWidget
{
    Q_OBJECT
public:
    AboutBox(const SystemColors &colors, const QString &version, QWidget *parent = nullptr);
    ~AboutBox() override;

    // Lifts the box out of its control: an always-on-top window of its own with a caption, a
    // minimise box and a resizable frame, titled `title`; then shows it.
    void showAsWindow(const QString &title);

    const QImage &surfaceImage() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The whole box, its Close button at rest.
    void paintBox();
    void paintCloseButton(bool pressed);
    void setFontSize(int points);

    const SystemColors &m_colors;
    QString m_version;
    std::unique_ptr<Surface> m_surface;
    Qt::MouseButton m_pressedButton = Qt::NoButton;
};

} // namespace clipnab
