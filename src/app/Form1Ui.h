#pragma once

#include <QPalette>

class QAction;
class QLabel;
class QLineEdit;
class QMainWindow;
class QRect;
class QString;
class QWidget;

namespace clipnab {

class PlatformContext;
class ProgressStrip;
class deRurara;

// The window's widgets and menu actions, made and placed by setupUi as a form editor's code
// would be: the panels and buttons from the saved layout, the window's own widgets at their
// twips places, the tab order and the menus. The window connects them and shows its state in them.
struct Form1Ui
{
    // The saved layout of the panels and buttons, compiled in.
    static constexpr auto kLayoutPath = ":/clipnab/form1-layout.json";
    static constexpr auto kTitle = "Clipnab V2";

    // `exampleAddress` is what the address box holds at first.
    void setupUi(QMainWindow *window, PlatformContext &context, const QString &exampleAddress);

    // The panels and what sits on them keep their light look: on a dark desktop the client
    // area takes the fixed light palette the controls draw with (see ControlPalette), so that
    // the labels and boxes on the panels get dark text; on a light one it follows the desktop.
    void applyControlLook();

    static void setTextColor(QWidget *widget, QPalette::ColorRole role, const QColor &color);
    // Shows `text` in a label placed at `base` (pixels in its container): it keeps its left
    // edge and grows to the right and evenly up and down when the text needs more room.
    static void showFitted(QLabel *label, const QString &text, const QRect &base);

    QWidget *client = nullptr;

    deRurara *downloadButton = nullptr;     // cmdDown
    deRurara *websiteButton = nullptr;      // cmdWeb
    deRurara *exitButton = nullptr;         // cmdExit
    deRurara *searchButton = nullptr;       // cmdSearch
    deRurara *startButton = nullptr;        // cmdStart
    QLineEdit *searchBox = nullptr;         // txtsearch
    QLineEdit *addressBox = nullptr;        // txtURL
    QLabel *verdictLabel = nullptr;         // lblUrl
    QWidget *searchBrowserHost = nullptr;   // wbSearch
    QLabel *searchProgressLabel = nullptr;  // Label4
    ProgressStrip *progressStrip = nullptr; // Shape1 and imgPB
    QLabel *statusLabel = nullptr;          // Label1
    QAction *downloadAction = nullptr;      // menuDown
    QAction *stopAction = nullptr;          // menuStop
    QAction *clipboardAction = nullptr;     // menuWatch, checkable
    QAction *downloadsAction = nullptr;     // menuDownloads, Ctrl+J
    QAction *preferencesAction = nullptr;   // menuPreferences
    QAction *exitAction = nullptr;          // menuExit
    QAction *searchAction = nullptr;        // menuSS
    QAction *websiteAction = nullptr;       // menuWeb
    QAction *helpAction = nullptr;          // menuHelp
    QAction *aboutAction = nullptr;         // menuAboutClipnab
    QAction *focusAddressAction = nullptr;  // Ctrl+L

private:
    void createSearchBox(QWidget *toolsPanel);
    void createDownloaderWidgets(QWidget *downloaderPanel, const QString &exampleAddress);
    void setTabOrder();
    void createMenus(QMainWindow *window);
};

} // namespace clipnab
