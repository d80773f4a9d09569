#pragma once
// The main window: the multiple-document frame with the main toolbar, the window bar, the
// tool toolbar, the colour panel and the status bar. It owns the program-wide state: the
// new-document counter, the window bar, the plug-in table and the loaded flag.
#include "plugins/plugin_table.h"
#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace orv {

class ColorPanel;
class EffectsToolbar;
class frmDocument;
class MainToolbar;
class RecoveryKeeper;
class WindowBar;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;
    static frmMain* instance();   // the one main window

    // Load handler: placement, toolbars, status bar, command line, first document; shows the
    // frame. `commandLine` is the whole text after the program name.
    void MDIForm_Load(const QString& commandLine);

    frmDocument* LoadNewDoc();
    void OpenFile(const QString& path);
    // Places the document's handles at its canvas and widens its window to show them.
    void FitWindowToPicture(frmDocument* d);
    void CheckCommand(const QString& commandLine);
    // Writes the active document's picture: JPEG for a name ending in JPG, else a bitmap.
    // Nothing else of the document changes.
    bool PlugInPicSave(const QString& path, QString* error);
    // Builds the plug-in table from the plug-in folders.
    void RgstrPlgns();
    PlugInTable PlugIns;
    QString dialogFileName;   // the name the open and save dialogs start from
    frmDocument* ActiveDocument() const;
    QList<frmDocument*> documents() const;
    int documentCount() const;
    int32_t NewDocCount = 0;
    bool loaded() const { return loaded_; }

    void AddFormToBar(frmDocument* form);
    void RemoveFormFromBar(frmDocument* form);
    WindowBar* windowBar() const { return windowBar_; }
    bool windowBarChecked() const;

    // Called by documents.
    void documentLoaded();
    void lastDocumentClosed();
    void setStatusPanel(int panel, const QString& text);   // panels 1..5
    QString statusPanel(int panel) const;
    QToolBar* mainToolbar() const;
    MainToolbar* toolbarHolder() const { return topPanel_; }
    EffectsToolbar* effectsToolbar() const { return tblEffects; }
    QToolBar* toolsToolbar() const { return Toolbar2; }
    QWidget* colorPanel() const { return Picture1; }
    ColorPanel* colors() const { return colors_; }
    QAction* toolButton(int index) const;   // tool toolbar button 1..13
    // Tool toolbar click: the active document's tool and the tool's option panel.
    void Toolbar2_ButtonClick(int index);
    // Shows button toolIndex + 1 pressed and brings its option panel forward.
    void showTool(int toolIndex);
    QWidget* optionsPanel() const { return Options; }
    QMdiArea* mdiArea() const { return mdi_; }
    QAction* toolbarButton(int position) const;   // 1-based
    void fillWindowMenu(QMenu* menu);

public slots:
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileExit_Click();
    // Saves every changed document in window-bar order: Save where the document has a file of
    // a type the program writes, Save As otherwise. A document left unsaved (Cancel in its Save
    // As, or a failed save) stops the rest. True when every changed document was saved.
    bool mnuFileSaveAll_Click();
    void mnuViewWindows_Click();
    void mnuViewPreferences_Click();
    void mnuHelpAbout_Click();
    void mnuOpenURL_Click();
    void mnuHelpCheckForUpdate_Click();
    void mnuWallpaper_Click();   // the active document's picture becomes the wallpaper

    // Offers the pictures an editor no longer running left unsaved (once, at start).
    void OfferLeftCopies();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbars();
    void buildStatusBar();
    void showMenusOf(frmDocument* doc);
    void subWindowActivated(QMdiSubWindow* window);
    void tile(Qt::Orientation orientation);
    void keepInWorkspace(QMdiSubWindow* sw);
    void arrangeIcons();
    void Toolbar1_ButtonClick(int position);
    void MDIForm_Unload();

    QMdiArea* mdi_ = nullptr;
    WindowBar* windowBar_ = nullptr;
    MainToolbar* topPanel_ = nullptr;   // the slide button, the window bar and Toolbar1
    QToolBar* Toolbar2 = nullptr;
    EffectsToolbar* tblEffects = nullptr;
    QWidget* Picture1 = nullptr;
    QWidget* Options = nullptr;
    ColorPanel* colors_ = nullptr;
    QList<QAction*> toolButtons_;   // tool toolbar buttons 1..13
    QList<QMenu*> frameMenus_;
    QAction* mnuViewWindows = nullptr;
    QList<QLabel*> panels_;
    QPointer<QMdiSubWindow> lastActivated_;
    bool loaded_ = false;
    // Pictures opened before the frame first showed, fitted again while the window manager
    // still places and sizes the frame (until the user changes or zooms them).
    QList<QPair<QPointer<frmDocument>, int>> fitAtStart_;
    bool showingTool_ = false;   // showTool is pressing a button: not a user's choice
    RecoveryKeeper* recovery_ = nullptr;
};

} // namespace orv
