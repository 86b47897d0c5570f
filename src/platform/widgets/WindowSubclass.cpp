#include "platform/widgets/WindowSubclass.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace clipnab {

namespace {

int buttonMessage(const QMouseEvent *event, int left, int right, int middle)
{
    switch (event->button()) {
    case Qt::LeftButton:
        return left;
    case Qt::RightButton:
        return right;
    case Qt::MiddleButton:
        return middle;
    default:
        return WindowMessage::kNull;
    }
}

} // namespace

int windowMessageFor(const QEvent *event)
{
    using namespace WindowMessage;
    switch (event->type()) {
    case QEvent::MouseMove:
        return kMouseMove;
    case QEvent::MouseButtonPress:
        return buttonMessage(static_cast<const QMouseEvent *>(event), kLButtonDown, kRButtonDown,
                             kMButtonDown);
    case QEvent::MouseButtonRelease:
        return buttonMessage(static_cast<const QMouseEvent *>(event), kLButtonUp, kRButtonUp,
                             kMButtonUp);
    case QEvent::MouseButtonDblClick:
        return buttonMessage(static_cast<const QMouseEvent *>(event), kLButtonDblClk,
                             kRButtonDblClk, kMButtonDblClk);
    case QEvent::Wheel:
        return kMouseWheel;
    case QEvent::Leave:
        return kMouseLeave;
    case QEvent::StyleChange:
    case QEvent::ThemeChange:
        return kThemeChanged;
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
        return kSysColorChange;
    case QEvent::KeyPress:
        return kKeyDown;
    case QEvent::KeyRelease:
        return kKeyUp;
    case QEvent::FocusIn:
        return kSetFocus;
    case QEvent::FocusOut:
        return kKillFocus;
    case QEvent::Paint:
        return kPaint;
    case QEvent::Resize:
        return kSize;
    case QEvent::Close:
        return kClose;
    case QEvent::Show:
    case QEvent::Hide:
        return kShowWindow;
    default:
        return kNull;
    }
}

WindowSubclass::WindowSubclass(Callback callback, QObject *parent)
    : QObject(parent), m_callback(std::move(callback))
{
}

WindowSubclass::~WindowSubclass()
{
    stopAll();
}

int WindowSubclass::recordOf(const QWidget *window) const
{
    return window ? find(window) : -1;
}

int WindowSubclass::find(const QWidget *window) const
{
    for (int i = static_cast<int>(m_records.size()) - 1; i >= 0; --i) {
        if (m_records[static_cast<size_t>(i)].window == window)
            return i;
    }
    return -1;
}

int WindowSubclass::start(QWidget *window)
{
    if (!window)
        return -1;
    if (const int existing = recordOf(window); existing >= 0)
        return existing;
    // A free record (window none) is taken first, searching from the highest index down.
    int index = find(nullptr);
    if (index < 0) {
        m_records.emplace_back();
        index = static_cast<int>(m_records.size()) - 1;
    }
    Record &r = m_records[static_cast<size_t>(index)];
    r = Record{};
    r.window = window;
    r.hadMouseTracking = window->hasMouseTracking();
    window->setMouseTracking(true);
    window->installEventFilter(this);
    // A window destroyed while intercepted gives its record back without being touched again.
    connect(window, &QObject::destroyed, this, [this](QObject *gone) {
        for (Record &rec : m_records) {
            if (rec.window == gone)
                release(rec, false);
        }
    });
    return index;
}

void WindowSubclass::addTo(QList<int> &list, int &count, int message)
{
    if (message == WindowMessage::kAll) {
        count = -1;
        return;
    }
    if (count < 0)
        return;
    for (int i = 0; i < count; ++i) {
        if (list[i] == WindowMessage::kNull) {
            list[i] = message;
            return;
        }
        if (list[i] == message)
            return;
    }
    list.append(message);
    ++count;
}

bool WindowSubclass::listed(const QList<int> &list, int count, int message)
{
    if (count < 0)
        return true;
    for (int i = 0; i < count; ++i) {
        if (list[i] == message)
            return true;
    }
    return false;
}

void WindowSubclass::addMessage(QWidget *window, int message, When when)
{
    const int index = recordOf(window);
    if (index < 0)
        return;
    Record &r = m_records[static_cast<size_t>(index)];
    if (when & Before)
        addTo(r.beforeList, r.beforeCount, message);
    if (when & After)
        addTo(r.afterList, r.afterCount, message);
}

void WindowSubclass::release(Record &record, bool windowAlive)
{
    if (windowAlive && record.window) {
        record.window->removeEventFilter(this);
        record.window->setMouseTracking(record.hadMouseTracking);
        disconnect(record.window, &QObject::destroyed, this, nullptr);
    }
    record = Record{};
}

void WindowSubclass::stop(QWidget *window)
{
    const int index = recordOf(window);
    if (index >= 0)
        release(m_records[static_cast<size_t>(index)], true);
}

void WindowSubclass::stopAll()
{
    for (int i = static_cast<int>(m_records.size()) - 1; i >= 0; --i) {
        Record &r = m_records[static_cast<size_t>(i)];
        if (r.window)
            release(r, true);
    }
}

bool WindowSubclass::isSubclassed(const QWidget *window) const
{
    return recordOf(window) >= 0;
}

int WindowSubclass::beforeCount(const QWidget *window) const
{
    const int index = recordOf(window);
    return index < 0 ? 0 : m_records[static_cast<size_t>(index)].beforeCount;
}

int WindowSubclass::afterCount(const QWidget *window) const
{
    const int index = recordOf(window);
    return index < 0 ? 0 : m_records[static_cast<size_t>(index)].afterCount;
}

void WindowSubclass::trackLeave(QWidget *window)
{
    const int index = recordOf(window);
    if (index >= 0)
        m_records[static_cast<size_t>(index)].leaveArmed = true;
}

bool WindowSubclass::leaveArmed(const QWidget *window) const
{
    const int index = recordOf(window);
    return index >= 0 && m_records[static_cast<size_t>(index)].leaveArmed;
}

bool WindowSubclass::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType())
        return false;
    const int index = recordOf(static_cast<QWidget *>(watched));
    if (index < 0)
        return false;
    Record &r = m_records[static_cast<size_t>(index)];
    int message = windowMessageFor(event);
    if (message == WindowMessage::kMouseLeave) {
        // A leave is a message only once per request, as pointer tracking delivers it.
        if (!r.leaveArmed)
            return false;
        r.leaveArmed = false;
    }
    if (message == WindowMessage::kNull)
        return false;
    const bool reportBefore = listed(r.beforeList, r.beforeCount, message);
    const bool reportAfter = listed(r.afterList, r.afterCount, message);
    if (!reportBefore && !reportAfter)
        return false;

    QPointer<QWidget> window(r.window);
    SubclassCall call;
    call.window = window;
    call.message = message;
    call.event = event;
    if (reportBefore) {
        call.before = true;
        m_callback(call);
        if (!window)
            return true;
    }
    if (!call.handled && isSubclassed(window)) {
        // The widget's own handler, run here so the after call can see its result.
        call.result = static_cast<QObject *>(window.data())->event(call.event) ? 1 : 0;
        if (!window)
            return true;
    } else if (!call.handled) {
        // The callback stopped interception: the widget handles the message as usual.
        return false;
    }
    if (reportAfter && isSubclassed(window)) {
        call.before = false;
        m_callback(call);
    }
    return true;
}

} // namespace clipnab
