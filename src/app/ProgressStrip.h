#pragma once

#include <QFrame>

#include <optional>

class QLabel;
class QTimer;

namespace clipnab {

// The download's progress strip: the frame `Shape1` and, inside it, the strip `imgPB`. The strip
// shows the share of a body of known length, or, while a body of unknown length arrives, a block
// sweeping to and fro. Made hidden, at its place in `parent`, the downloader panel. Assistive
// technology sees it as a progress bar (ProgressStripAccessible); its tooltip gives the numbers.
class ProgressStrip final : public QFrame
{
    Q_OBJECT
public:
    explicit ProgressStrip(QWidget *parent);

    // Shows the strip filled to `part` of `whole` (whole > 0), computed in single precision as
    // the invisible progress bar held the byte counts. Never narrower than one pixel.
    void showFraction(qint64 part, qint64 whole);
    // Shows the sweeping block; a sweep under way goes on from where it is.
    void showActivity();
    // Hides the strip and leaves it at its rest width, without a report.
    void reset();

    // The download's share in percent (nothing while no length is known) and its numbers in
    // words, for the tooltip and assistive technology.
    void setReport(std::optional<int> percent, const QString &text);
    std::optional<int> percent() const { return m_percent; }
    QString report() const { return m_report; }

private:
    void setStripWidth(int twips);
    void sweep();
    // `rect` in the parent's pixels, where the window's twips place it.
    void placeStrip(const QRect &rect);

    QLabel *m_strip = nullptr;
    QTimer *m_sweepTimer = nullptr;
    int m_sweepTick = 0;
    std::optional<int> m_percent;
    QString m_report;
};

} // namespace clipnab
