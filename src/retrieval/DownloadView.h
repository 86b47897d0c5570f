#pragma once

class QString;
class QWidget;

namespace clipnab {

// The parts of the window that a download switches between idle, analysing and transferring.
class DownloadView
{
public:
    virtual ~DownloadView() = default;
    // cmdDown, cmdStart and txtURL, in that order.
    virtual void setDownloadControlsEnabled(bool enabled) = 0;
    virtual void setStatusCaption(const QString &caption) = 0;
    virtual void setStatusVisible(bool visible) = 0;
    // The progress strip and its frame.
    virtual void setProgressVisible(bool visible) = 0;
    virtual void setProgressWidthTwips(int twips) = 0;
    virtual QWidget *dialogParent() = 0;
};

} // namespace clipnab
