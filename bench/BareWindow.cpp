// The start-up benchmark's baseline: an empty Qt main window of a given size and title, shown as
// soon as the application exists. It writes "clipnab: window shown" to standard error at its
// first paint, as the program does with CLIPNAB_TRACE_STARTUP set.
//
//   clipnab-bare-window WIDTHxHEIGHT TITLE
#include <QApplication>
#include <QEvent>
#include <QMainWindow>

#include <cstdio>

namespace {

class BareWindow final : public QMainWindow
{
protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            std::fputs("clipnab: window shown\n", stderr);
            std::fflush(stderr);
        }
        return QMainWindow::event(event);
    }

private:
    bool m_painted = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QStringList size = arguments.value(1).split(u'x');
    int width = 0;
    int height = 0;
    if (size.size() == 2) {
        width = size[0].toInt();
        height = size[1].toInt();
    }
    if (arguments.size() != 3 || width <= 0 || height <= 0) {
        std::fputs("usage: clipnab-bare-window WIDTHxHEIGHT TITLE\n", stderr);
        return 2;
    }
    BareWindow window;
    window.setWindowTitle(arguments[2]);
    window.resize(width, height);
    window.show();
    return QApplication::exec();
}
