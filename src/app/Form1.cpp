#include "app/Form1.h"

#include "app/browser/BrowserComponent.h"
#include "app/SavedLayout.h"
#include "app/transfer/TransferComponent.h"
#include "controls/button/deRurara.h"
#include "controls/panel/XPContainer.h"
#include "platform/Color.h"
#include "platform/Rounding.h"
#include "platform/Shell.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/PlatformContext.h"
#include "retrieval/AddressCheck.h"
#include "retrieval/DownloadFlow.h"
#include "search/SearchPanel.h"
#include "search/SearchRules.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QVBoxLayout>

// Resources of a static library are registered by hand.
static void initAppResources()
{
    Q_INIT_RESOURCE(app);
}

namespace clipnab {

namespace {

// Positions in twips (left, top, width, height), relative to the control's container.
struct TwipRect
{
    int left, top, width, height;
};

constexpr TwipRect kClient{0, 0, 9195, 7485};
constexpr TwipRect kTxtSearch{6480, 570, 1875, 300};
constexpr TwipRect kTxtUrl{90, 510, 8115, 345};
constexpr TwipRect kLblUrl{3240, 900, 2340, 180};
constexpr TwipRect kShape2{90, 1170, 9015, 3825};
constexpr TwipRect kWbSearch{120, 1200, 8955, 3765};
constexpr TwipRect kLabel4{8760, 5010, 345, 210};
constexpr TwipRect kShape1{1620, 5430, 5535, 285};
constexpr TwipRect kImgPB{1650, 5460, 75, 255};
constexpr TwipRect kLabel1{3480, 5460, 1515, 210};

constexpr Rgb kRed = makeRgb(255, 0, 0);
constexpr Rgb kBlack = makeRgb(0, 0, 0);

int px(int twips)
{
    return roundHalfEven(static_cast<double>(twips) / Form1::kTwipsPerPixel);
}

QRect pixels(const TwipRect &r)
{
    return {px(r.left), px(r.top), px(r.width), px(r.height)};
}

QFont tahoma(double points, bool bold = false)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void setTextColor(QWidget *widget, QPalette::ColorRole role, Rgb colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, QColor::fromRgb(toQRgb(colour)));
    widget->setPalette(palette);
}

QFrame *makeShape(QWidget *parent, const TwipRect &r)
{
    auto *shape = new QFrame(parent);
    shape->setFrameStyle(QFrame::Box | QFrame::Plain);
    shape->setLineWidth(1);
    QPalette palette = shape->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    shape->setPalette(palette);
    shape->setGeometry(pixels(r));
    return shape;
}

QLabel *makeLabel(QWidget *parent, const TwipRect &r, const QString &caption, const QFont &font)
{
    auto *label = new QLabel(caption, parent);
    label->setFont(font);
    label->setGeometry(pixels(r));
    return label;
}

} // namespace

Form1::Form1(PlatformContext &context, Components components, QWidget *parent)
    : QMainWindow(parent), m_context(context), m_components(std::move(components))
{
    initAppResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Clipnab V2"));
    setWindowIcon(QIcon(QStringLiteral(":/clipnab/clipnab.png")));
    setFont(tahoma(9));

    buildControls();
    loadLayout(m_components.layoutPath);
    buildMenus();

    m_wb = std::move(m_components.locatorBrowser);
    m_inet = std::move(m_components.transfer);
    m_wbSearch = m_components.makeSearchBrowser(m_wbSearchHost);
    if (QWidget *view = m_wbSearch->widget())
        m_wbSearchHost->layout()->addWidget(view);

    DownloadView &view = *this;
    m_flow = std::make_unique<DownloadFlow>(
        m_context, *m_wb, *m_inet, view,
        DownloadFlow::Settings{m_components.siteBase, m_components.downloadFolder});

    SearchPanel::View searchView;
    searchView.searchText = [this] { return m_txtSearch->text(); };
    searchView.setSearchText = [this](const QString &text) { m_txtSearch->setText(text); };
    searchView.searchEnabled = [this] { return m_cmdSearch->Enabled(); };
    searchView.setProgressCaption = [this](const QString &caption) {
        // The caption grows to the left from the browser frame's right edge.
        const QRect base = pixels(kLabel4);
        m_label4->setText(caption);
        const int width = std::max(base.width(), m_label4->sizeHint().width());
        m_label4->setGeometry(base.right() + 1 - width, base.top(), width, base.height());
    };
    searchView.setAddress = [this](const QString &address) { m_txtUrl->setText(address); };
    m_search =
        std::make_unique<SearchPanel>(*m_wbSearch, m_components.siteBase, std::move(searchView));

    connectHandlers();

    // The window cannot be resized or maximised.
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    formLoad();
}

Form1::~Form1()
{
    qApp->removeEventFilter(this);
    // The flow and the search panel refer to the components; they go first.
    m_search.reset();
    m_flow.reset();
}

bool Form1::downloading() const
{
    return m_flow->downloading();
}

QString Form1::videoId() const
{
    return m_flow->videoId();
}

bool Form1::searchHasFocus() const
{
    return m_search->searchHasFocus();
}

void Form1::buildControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(pixels(kClient).size());
    setCentralWidget(m_client);
}

void Form1::loadLayout(const QString &path)
{
    const SavedLayout layout = SavedLayout::load(path);
    QHash<QString, QWidget *> containers{{QStringLiteral("Form1"), m_client}};

    for (const ControlRecord &record : layout.controls()) {
        QWidget *container = containers.value(record.container, m_client);
        QWidget *control = nullptr;
        // A record that cannot be restored keeps its defaults; the window still opens.
        if (record.classId == QLatin1String(XPContainer::kClassId)) {
            auto *panel = new XPContainer(m_context, container);
            panel->setObjectName(record.name);
            try {
                panel->readProperties(record.bag);
            } catch (const PropertyBagError &) {
                panel->initProperties();
            }
            containers.insert(record.name, panel);
            control = panel;
        } else if (record.classId == QLatin1String(deRurara::kClassId)) {
            auto *button = new deRurara(m_context, container);
            button->setObjectName(record.name);
            button->setToolTip(record.toolTip);
            try {
                button->readProperties(record.bag);
            } catch (const PropertyBagError &) {
                button->initProperties();
            }
            control = button;
        } else {
            continue;
        }
        control->setGeometry(px(record.leftTwips), px(record.topTwips),
                             px(record.bag.readInt(QStringLiteral("_extentx"), 0)),
                             px(record.bag.readInt(QStringLiteral("_extenty"), 0)));
    }

    m_xpContainer1 = m_client->findChild<XPContainer *>(QStringLiteral("XPContainer1"));
    m_xpContainer2 = m_client->findChild<XPContainer *>(QStringLiteral("XPContainer2"));
    // Without a layout the window still gets every control, at defaults.
    const auto ensurePanel = [this](XPContainer *&panel, const QString &name,
                                    const QString &caption, const QRect &geometry) {
        if (panel)
            return;
        panel = new XPContainer(m_context, m_client);
        panel->setObjectName(name);
        panel->initProperties();
        panel->writeCaption(caption);
        panel->setGeometry(geometry);
    };
    ensurePanel(m_xpContainer1, QStringLiteral("XPContainer1"), QStringLiteral("Tools"),
                QRect(-2, 0, 615, 71));
    ensurePanel(m_xpContainer2, QStringLiteral("XPContainer2"), QStringLiteral("Downloader"),
                QRect(0, 72, 615, 427));

    const auto ensureButton = [this](const QString &name, QWidget *container,
                                     const QString &caption, const QRect &geometry) {
        auto *button = m_client->findChild<deRurara *>(name);
        if (!button) {
            button = new deRurara(m_context, container);
            button->setObjectName(name);
            button->initProperties();
            button->writeStyle(5);
            button->writeCaption(caption);
            button->setGeometry(geometry);
        }
        return button;
    };
    m_cmdDown = ensureButton(QStringLiteral("cmdDown"), m_xpContainer1, QStringLiteral("Download"),
                             QRect(6, 26, 103, 41));
    m_cmdWeb = ensureButton(QStringLiteral("cmdWeb"), m_xpContainer1, QStringLiteral("Website"),
                            QRect(110, 26, 103, 41));
    m_cmdExit = ensureButton(QStringLiteral("cmdExit"), m_xpContainer1, QStringLiteral("Exit"),
                             QRect(318, 26, 103, 41));
    m_cmdSearch = ensureButton(QStringLiteral("cmdSearch"), m_xpContainer1,
                               QStringLiteral("Search"), QRect(560, 38, 49, 20));
    m_cmdStart = ensureButton(QStringLiteral("cmdStart"), m_xpContainer2, QStringLiteral("Start"),
                              QRect(550, 34, 57, 24));

    // The window's own controls.
    m_txtSearch = new QLineEdit(SearchRules::kPlaceholder, m_xpContainer1);
    m_txtSearch->setObjectName(QStringLiteral("txtsearch"));
    m_txtSearch->setFont(tahoma(8.25));
    m_txtSearch->setGeometry(pixels(kTxtSearch));
    QPalette searchPalette = m_txtSearch->palette();
    searchPalette.setColor(QPalette::Base, Qt::white);
    searchPalette.setColor(QPalette::Text, Qt::black);
    m_txtSearch->setPalette(searchPalette);

    m_txtUrl = new QLineEdit(m_components.siteBase + QStringLiteral("/watch?v=5qWsH5lO-ME"),
                             m_xpContainer2);
    m_txtUrl->setObjectName(QStringLiteral("txtURL"));
    m_txtUrl->setFont(tahoma(10.5));
    m_txtUrl->setGeometry(pixels(kTxtUrl));

    m_lblUrl = makeLabel(m_xpContainer2, kLblUrl, QStringLiteral("Copy and Paste video URL here"),
                         tahoma(7.5, true));
    m_lblUrl->setObjectName(QStringLiteral("lblUrl"));
    m_lblUrl->adjustSize();
    setTextColor(m_lblUrl, QPalette::WindowText, kBlack);

    m_shape2 = makeShape(m_xpContainer2, kShape2);
    m_shape2->setObjectName(QStringLiteral("Shape2"));
    m_wbSearchHost = new QWidget(m_xpContainer2);
    m_wbSearchHost->setObjectName(QStringLiteral("wbSearch"));
    m_wbSearchHost->setGeometry(pixels(kWbSearch));
    auto *hostLayout = new QVBoxLayout(m_wbSearchHost);
    hostLayout->setContentsMargins(0, 0, 0, 0);

    m_label4 = makeLabel(m_xpContainer2, kLabel4, QStringLiteral("0%"), tahoma(9, true));
    m_label4->setObjectName(QStringLiteral("Label4"));
    m_label4->setAlignment(Qt::AlignRight | Qt::AlignTop);

    m_shape1 = makeShape(m_xpContainer2, kShape1);
    m_shape1->setObjectName(QStringLiteral("Shape1"));
    m_shape1->hide();
    m_imgPB = new QLabel(m_xpContainer2);
    m_imgPB->setObjectName(QStringLiteral("imgPB"));
    m_imgPB->setPixmap(QPixmap(QStringLiteral(":/clipnab/progress.png")));
    m_imgPB->setScaledContents(true);
    m_imgPB->setGeometry(pixels(kImgPB));
    m_imgPB->hide();
    m_label1 =
        makeLabel(m_xpContainer2, kLabel1, QStringLiteral("Analysing URL..."), tahoma(9, true));
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->hide();

    // Tab order as a person reads the window.
    setTabOrder(m_cmdDown, m_cmdWeb);
    setTabOrder(m_cmdWeb, m_cmdExit);
    setTabOrder(m_cmdExit, m_txtSearch);
    setTabOrder(m_txtSearch, m_cmdSearch);
    setTabOrder(m_cmdSearch, m_txtUrl);
    setTabOrder(m_txtUrl, m_cmdStart);
}

void Form1::buildMenus()
{
    QMenu *menuFile = menuBar()->addMenu(QStringLiteral("File(&F)"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    QAction *menuDown = menuFile->addAction(QStringLiteral("Download(&D)"));
    menuDown->setObjectName(QStringLiteral("menuDown"));
    connect(menuDown, &QAction::triggered, this, &Form1::cmdDownClick);
    menuFile->addSeparator()->setObjectName(QStringLiteral("menuS"));
    QAction *menuExit = menuFile->addAction(QStringLiteral("Exit(&E)"));
    menuExit->setObjectName(QStringLiteral("menuExit"));
    connect(menuExit, &QAction::triggered, this, &QWidget::close);

    QMenu *menuSearch = menuBar()->addMenu(QStringLiteral("Search(&S)"));
    menuSearch->setObjectName(QStringLiteral("menuSearch"));
    QAction *menuSS = menuSearch->addAction(QStringLiteral("Search Videos(&S)"));
    menuSS->setObjectName(QStringLiteral("menuSS"));
    connect(menuSS, &QAction::triggered, this, &Form1::cmdSearchClick);

    QMenu *menuAbout = menuBar()->addMenu(QStringLiteral("About(&A)"));
    menuAbout->setObjectName(QStringLiteral("menuAbout"));
    QAction *menuWeb = menuAbout->addAction(QStringLiteral("Website(&W)"));
    menuWeb->setObjectName(QStringLiteral("menuWeb"));
    connect(menuWeb, &QAction::triggered, this, &Form1::cmdWebClick);
}

void Form1::connectHandlers()
{
    connect(m_cmdDown, &deRurara::Click, this, &Form1::cmdDownClick);
    connect(m_cmdStart, &deRurara::Click, this, &Form1::cmdStartClick);
    connect(m_cmdWeb, &deRurara::Click, this, &Form1::cmdWebClick);
    connect(m_cmdExit, &deRurara::Click, this, &Form1::cmdExitClick);
    connect(m_cmdSearch, &deRurara::Click, this, &Form1::cmdSearchClick);
    connect(m_txtUrl, &QLineEdit::textChanged, this, &Form1::txtUrlChange);
    // Key preview: the window sees every key before the control with the focus (and the search
    // box's clicks and focus changes through the same filter).
    qApp->installEventFilter(this);
}

void Form1::formLoad()
{
    m_search->setSearchHasFocus(false);
    m_wbSearch->Navigate(m_components.siteBase + QLatin1Char('/'));
}

void Form1::cmdDownClick()
{
    if (!m_cmdDown->Enabled())
        return;
    // The download action: validation, video id, then the locator.
    m_flow->start(m_txtUrl->text(), m_lblUrlForeColor == kRed);
}

void Form1::cmdStartClick()
{
    if (m_cmdStart->Enabled())
        cmdDownClick();
}

void Form1::cmdWebClick()
{
    if (m_cmdWeb->Enabled())
        m_context.shell().open(QString::fromLatin1(kHomePage));
}

void Form1::cmdExitClick()
{
    if (m_cmdExit->Enabled())
        close();
}

void Form1::cmdSearchClick()
{
    m_search->search();
}

void Form1::txtUrlChange(const QString &text)
{
    const bool available = AddressCheck::isAvailable(text);
    const Rgb colour = available ? kBlack : kRed;
    setTextColor(m_txtUrl, QPalette::Text, colour);
    m_lblUrl->setText(AddressCheck::verdictCaption(available));
    m_lblUrl->adjustSize();
    setTextColor(m_lblUrl, QPalette::WindowText, colour);
    m_lblUrlForeColor = colour;
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    if (downloading() &&
        m_context.dialogs().confirm(
            this, QStringLiteral("The program is downloading videos, Exit now?")) !=
            Dialogs::Answer::Ok) {
        event->ignore();
        return;
    }
    m_inet->Execute(QStringLiteral("QUIT"));
    m_unloaded = true;
    event->accept();
    Q_EMIT terminated();
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_txtSearch) {
        switch (event->type()) {
        case QEvent::FocusIn:
            m_search->setSearchHasFocus(true);
            break;
        case QEvent::FocusOut:
            m_search->setSearchHasFocus(false);
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
                m_txtSearch->rect().contains(
                    static_cast<QMouseEvent *>(event)->position().toPoint()))
                m_search->searchBoxClicked();
            break;
        default:
            break;
        }
    }
    if (event->type() == QEvent::KeyPress && watched == QApplication::focusWidget() &&
        watched->isWidgetType() && isAncestorOf(static_cast<QWidget *>(watched))) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_search->searchHasFocus())
            cmdSearchClick();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::changeEvent(QEvent *event)
{
    // The window keeps its one size: a maximised or full-screen window snaps back.
    if (event->type() == QEvent::WindowStateChange &&
        (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    QMainWindow::changeEvent(event);
}

void Form1::setDownloadControlsEnabled(bool enabled)
{
    m_cmdDown->writeEnabled(enabled);
    m_cmdStart->writeEnabled(enabled);
    m_txtUrl->setEnabled(enabled);
}

void Form1::setStatusCaption(const QString &caption)
{
    m_label1->setText(caption);
}

void Form1::setStatusVisible(bool visible)
{
    m_label1->setVisible(visible);
}

void Form1::setProgressVisible(bool visible)
{
    m_shape1->setVisible(visible);
    m_imgPB->setVisible(visible);
}

void Form1::setProgressWidthTwips(int twips)
{
    m_imgPB->resize(std::max(1, px(twips)), m_imgPB->height());
}

} // namespace clipnab
