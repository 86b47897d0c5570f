#pragma once

#include <QList>
#include <QObject>

#include <functional>
#include <vector>

class QEvent;
class QWidget;

namespace clipnab {

// Window message numbers the helper maps Qt events to.
namespace WindowMessage {
constexpr int kAll = -1;
constexpr int kNull = 0;
constexpr int kSize = 5;
constexpr int kSetFocus = 7;
constexpr int kKillFocus = 8;
constexpr int kPaint = 15;
constexpr int kClose = 16;
constexpr int kSysColorChange = 21;
constexpr int kShowWindow = 24;
constexpr int kKeyDown = 256;
constexpr int kKeyUp = 257;
constexpr int kMouseMove = 512;
constexpr int kLButtonDown = 513;
constexpr int kLButtonUp = 514;
constexpr int kLButtonDblClk = 515;
constexpr int kRButtonDown = 516;
constexpr int kRButtonUp = 517;
constexpr int kRButtonDblClk = 518;
constexpr int kMButtonDown = 519;
constexpr int kMButtonUp = 520;
constexpr int kMButtonDblClk = 521;
constexpr int kMouseWheel = 522;
constexpr int kMouseLeave = 675;
constexpr int kThemeChanged = 794;
} // namespace WindowMessage

// The message number a Qt event stands for, or WindowMessage::kNull when it has none. A pointer
// leave maps to WindowMessage::kMouseLeave only through the helper, which reports it only while
// a leave notification is armed.
int windowMessageFor(const QEvent *event);

// One message as the callback sees it. A before call may set `handled` (the widget's own
// handler then does not run) and `result`; an after call sees the result of the widget's own
// handler: 1 when its event() returned true (it recognised and handled the event), else 0.
struct SubclassCall
{
    bool before = false;
    bool handled = false;
    long result = 0;
    QWidget *window = nullptr;
    int message = WindowMessage::kNull;
    QEvent *event = nullptr;
};

// Intercepts the messages of any number of widgets ahead of and after their own event
// handling and reports the registered ones to a single callback.
class WindowSubclass final : public QObject
{
    Q_OBJECT
public:
    enum When
    {
        After = 1,
        Before = 2,
        Both = 3
    };
    using Callback = std::function<void(SubclassCall &)>;

    explicit WindowSubclass(Callback callback, QObject *parent = nullptr);
    ~WindowSubclass() override;

    // Starts intercepting the window; returns the index of its record. Starting a window that
    // is already intercepted returns its existing record.
    int start(QWidget *window);
    // Registers a message (or WindowMessage::kAll) for the callback; a message registered twice
    // keeps one entry.
    void addMessage(QWidget *window, int message, When when);
    // Restores the window's own handling.
    void stop(QWidget *window);
    void stopAll();

    bool isSubclassed(const QWidget *window) const;
    // Entries of a list; -1 when it reports every message.
    int beforeCount(const QWidget *window) const;
    int afterCount(const QWidget *window) const;

    // Asks for one pointer-leave message for the window.
    void trackLeave(QWidget *window);
    bool leaveArmed(const QWidget *window) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Record
    {
        QWidget *window = nullptr;
        bool hadMouseTracking = false;
        bool leaveArmed = false;
        int afterCount = 0;
        int beforeCount = 0;
        QList<int> afterList;
        QList<int> beforeList;
    };

    // The record of a window, searched from the highest index down; -1 for none.
    int recordOf(const QWidget *window) const;
    // The same search, where nullptr finds a free record.
    int find(const QWidget *window) const;
    static void addTo(QList<int> &list, int &count, int message);
    static bool listed(const QList<int> &list, int count, int message);
    void release(Record &record, bool windowAlive);

    Callback m_callback;
    std::vector<Record> m_records;
};

} // namespace clipnab
