// The Preferences dialog: every control shows its stored value and OK (only OK) writes it
// back; the mouse pointer on the canvases, the toolbar slides and loading plug-ins follow.
#include "documents/ui/canvas_view.h"
#include "documents/undo_history.h"
#include "gui_fixture.h"
#include "plugins/plugin_host.h"
#include "shell/frame_placement.h"
#include "plugins/ui/plugin_menu.h"
#include "shell/ui/frmMainPreferences.h"
#include "shell/ui/main_toolbar.h"
#include "shell/ui/window_bar.h"
#include "tests/support/test_pictures.h"
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

namespace orv::test {

namespace {

using Prefs = frmMainPreferences;

// The stored text of a Preferences key, or "<none>".
QString Stored(const char* key)
{
    return GetSetting(kAppTitle, QStringLiteral("Preferences"), QString::fromLatin1(key), QStringLiteral("<none>"));
}

// Records the values a watched widget passes through: its top edge or its height.
class Positions : public QObject {
public:
    Positions(QWidget* w, bool heights) : heights_(heights) { w->installEventFilter(this); }
    // Whether any value lay strictly between the two ends.
    bool between(int a, int b) const
    {
        for (int v : values)
            if (v > std::min(a, b) && v < std::max(a, b)) return true;
        return false;
    }
    QList<int> values;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        auto* w = static_cast<QWidget*>(o);
        if (e->type() == (heights_ ? QEvent::Resize : QEvent::Move)) values << (heights_ ? w->height() : w->y());
        return false;
    }

private:
    bool heights_;
};

} // namespace

class PreferencesTest : public FrameTest {
protected:
    // A bmp of w x h pixels in the test's folder.
    QString picture(const char* name, int w, int h)
    {
        return WriteBmp(settingsDir.filePath(QString::fromLatin1(name)), Numbered(w, h));
    }
    QCursor canvasCursor() { return frame->ActiveDocument()->DrawIMG->cursor(); }
    // Opens the dialog, acts on it and clicks OK.
    void choose(std::function<void(Prefs&)> act)
    {
        Prefs d(frame.get());
        act(d);
        d.Command1->click();
    }
};

TEST_F(PreferencesTest, EveryControlShowsItsStoredValueAndOnlyOkWritesTheChange)
{
    const QString arrow = picture("arrow.bmp", 8, 8);
    struct Row {
        const char* key;
        QString stored;   // empty: nothing stored
        std::function<bool(Prefs&)> shows;
        std::function<void(Prefs&)> change;
        QString written;
    };
    const Row rows[] = {
        {"SplshScrn", {}, [](Prefs& d) { return d.Option2->isChecked(); }, [](Prefs& d) { d.Option1->click(); }, "0"},
        {"SplshScrn", "2", [](Prefs& d) { return d.Option3->isChecked(); }, [](Prefs& d) { d.Option2->click(); }, "1"},
        // A value of no button selects none, and OK keeps it.
        {"SplshScrn", "7", [](Prefs& d) { return !d.Option1->group()->checkedButton(); }, [](Prefs&) {}, "7"},
        {"Pointer", {}, [](Prefs& d) { return d.Option5->isChecked() && !d.Command3->isEnabled(); },
         [](Prefs& d) { d.Option4->click(); }, "0"},
        {"Pointer", "0", [](Prefs& d) { return d.Option4->isChecked(); }, [](Prefs& d) { d.Option5->click(); }, "1"},
        {"PointerFile", arrow,
         [](Prefs& d) { return d.Option6->isChecked() && d.Command3->isEnabled() && d.lblPointerFile->text() == "arrow.bmp"; },
         [](Prefs&) {}, arrow},   // Browse's picking is checked with the canvas pointer below
        {"ScrollingToolbars", {}, [](Prefs& d) { return d.Check1->isChecked(); }, [](Prefs& d) { d.Check1->click(); }, "False"},
        {"ScrollingToolbars", "False", [](Prefs& d) { return !d.Check1->isChecked(); }, [](Prefs& d) { d.Check1->click(); }, "True"},
        {"PlugInsAtStart", {}, [](Prefs& d) { return d.Check2->isChecked(); }, [](Prefs& d) { d.Check2->click(); }, "False"},
        {"PlugInsAtStart", "False", [](Prefs& d) { return !d.Check2->isChecked(); }, [](Prefs& d) { d.Check2->click(); }, "True"},
        {"KeepRecoveryCopies", {}, [](Prefs& d) { return d.chkRecovery->isChecked() && d.spnRecoveryInterval->isEnabled(); },
         [](Prefs& d) { d.chkRecovery->click(); }, "False"},
        {"KeepRecoveryCopies", "False", [](Prefs& d) { return !d.chkRecovery->isChecked() && !d.spnRecoveryInterval->isEnabled(); },
         [](Prefs& d) { d.chkRecovery->click(); }, "True"},
        {"RecoveryInterval", {}, [](Prefs& d) { return d.spnRecoveryInterval->value() == 60; },
         [](Prefs& d) { d.spnRecoveryInterval->setValue(300); }, "300"},
        {"RecoveryInterval", "120", [](Prefs& d) { return d.spnRecoveryInterval->value() == 120; },
         [](Prefs& d) { d.spnRecoveryInterval->setValue(3600); }, "3600"},
        {"UndoMemory", {}, [](Prefs& d) { return d.UndoMemory->value() == int(UndoHistory::defaultBudget() >> 20); },
         [](Prefs& d) { d.UndoMemory->setValue(64); }, "64"},
        {"UndoMemory", "200", [](Prefs& d) { return d.UndoMemory->value() == 200; }, [](Prefs& d) { d.UndoMemory->setValue(48); }, "48"},
    };
    int run = 0;
    for (const Row& row : rows) {
        for (bool ok : {false, true}) {
            SCOPED_TRACE(std::string(row.key) + " " + row.stored.toStdString() + (ok ? " OK" : " Cancel"));
            SetSettingsFolder(settingsDir.filePath(QString::number(++run)));   // an empty store
            if (!row.stored.isEmpty()) store(QStringLiteral("Preferences"), QString::fromLatin1(row.key), row.stored);
            if (QByteArray(row.key) == "PointerFile") store(QStringLiteral("Preferences"), QStringLiteral("Pointer"), QStringLiteral("2"));
            Prefs d(nullptr);
            EXPECT_TRUE(row.shows(d));
            row.change(d);
            (ok ? d.Command1 : d.Command2)->click();
            EXPECT_EQ(Stored(row.key), ok ? row.written : row.stored.isEmpty() ? QStringLiteral("<none>") : row.stored);
        }
    }
    EXPECT_EQ(UndoHistory::budget(), int64_t(48) << 20);   // the undo memory acts at once
    SetSettingsFolder(settingsDir.path());
    choose([](Prefs& d) { d.Option1->click(); });
    EXPECT_EQ(ReadSplashChoice(), 0);   // the next start shows no splash window
}

TEST_F(PreferencesTest, ThePointerChoiceShowsOnEveryCanvasAtOnceAndAfterARestart)
{
    start();
    EXPECT_EQ(canvasCursor().shape(), Qt::CrossCursor);   // a fresh installation's choice
    choose([](Prefs& d) { d.Option4->click(); });
    EXPECT_EQ(canvasCursor().shape(), Qt::ArrowCursor);   // the drawing tool's own
    frame->toolButton(11)->trigger();                      // Text
    EXPECT_EQ(canvasCursor().shape(), Qt::IBeamCursor);

    // Custom without a picture asks for one; a wide one is scaled down, its hot spot central.
    const QString wide = picture("wide.bmp", 64, 40);
    frame->mnuFileNew_Click();
    choose([&wide](Prefs& d) {
        AnswerNextFileDialog(wide);
        d.Option6->click();
        EXPECT_TRUE(d.Command3->isEnabled());
    });
    EXPECT_EQ(Stored("Pointer"), QStringLiteral("2"));
    EXPECT_EQ(Stored("PointerFile"), wide);
    for (frmDocument* d : frame->documents()) {
        const QCursor c = d->DrawIMG->cursor();
        EXPECT_EQ(c.shape(), Qt::BitmapCursor);
        EXPECT_EQ(c.pixmap().size(), QSize(32, 20));
        EXPECT_EQ(c.hotSpot(), QPoint(16, 10));
    }
    closeWithoutQuestions();
    start();
    EXPECT_EQ(canvasCursor().pixmap().size(), QSize(32, 20));

    // A picture that is gone by the next start gives the crosshair.
    QFile::remove(wide);
    closeWithoutQuestions();
    start();
    EXPECT_EQ(canvasCursor().shape(), Qt::CrossCursor);
}

TEST_F(PreferencesTest, APointerFileThatCannotBeReadIsRefusedAndKeepsTheChoice)
{
    start();
    const QString noise = settingsDir.filePath(QStringLiteral("noise.png"));
    WriteAll(noise, "no picture at all");
    MessageBoxes boxes;
    choose([&noise](Prefs& d) {
        d.Option4->click();
        AnswerNextFileDialog(noise);
        d.Option6->click();
        EXPECT_TRUE(d.Option4->isChecked());
        EXPECT_FALSE(d.Command3->isEnabled());
        EXPECT_EQ(d.lblPointerFile->text(), QStringLiteral("No picture chosen"));
    });
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(noise)) << boxes.shown[0].text.toStdString();
    EXPECT_EQ(Stored("Pointer"), QStringLiteral("0"));
    EXPECT_EQ(Stored("PointerFile"), QString());
    EXPECT_EQ(canvasCursor().shape(), Qt::ArrowCursor);
}

TEST_F(PreferencesTest, WithoutScrollingToolbarsTheSlidesJumpToTheirEnd)
{
    frmMain& f = start();
    MainToolbar& holder = *f.toolbarHolder();
    QAction* windows = f.ActiveDocument()->menuAction(QStringLiteral("mnuViewWindows"));
    const int in = holder.Toolbar1->y(), out = TwipsToPixels(-holder.toolbarHeightTwips());
    for (bool scrolling : {true, false}) {
        SCOPED_TRACE(scrolling);
        choose([scrolling](Prefs& d) { d.Check1->setChecked(scrolling); });
        windows->trigger();   // hidden at once either way
        Positions toolbar(holder.Toolbar1, false), bar(f.windowBar(), true);
        holder.Command1->click();
        windows->trigger();
        EXPECT_EQ(holder.toolbarTopTwips(), -holder.toolbarHeightTwips());
        EXPECT_EQ(toolbar.between(in, out), scrolling);
        EXPECT_EQ(bar.between(0, f.windowBar()->height()), scrolling);
        holder.Command1->click();   // back in
    }
}

TEST_F(PreferencesTest, WithoutPlugInsTheNextStartLoadsNoLibrary)
{
    SetPlugInHostProgram(QStringLiteral(ORVANE_PLUGIN_HOST_EXE));
    const QString folder = settingsDir.filePath(QStringLiteral("data/Orvane/plugins"));
    QDir().mkpath(folder);
    // Late writes a marker beside itself when the scan registers it.
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_TEST_PLUGINS_DIR "/Late.dll"), folder + "/Late.dll"));
    storeSettings({{"LoadPlugIns", "True"}});   // the early scan too
    start();
    choose([](Prefs& d) { d.Check2->click(); });
    EXPECT_EQ(PlugInItems(frame->ActiveDocument()).size(), 1);   // this run keeps what it loaded
    QFile::remove(folder + "/Late.dll.registered");
    for (bool plugIns : {false, true}) {
        SCOPED_TRACE(plugIns);
        closeWithoutQuestions();
        start();
        for (frmDocument* d : {frame->ActiveDocument(), frame->LoadNewDoc()}) {
            const QList<QAction*> items = PlugInItems(d);
            ASSERT_EQ(items.size(), 1);
            EXPECT_EQ(items[0]->text(), plugIns ? QStringLiteral("Late filter") : QStringLiteral("(None)"));
            EXPECT_EQ(items[0]->isEnabled(), plugIns);
        }
        EXPECT_EQ(QFile::exists(folder + "/Late.dll.registered"), plugIns);
        choose([](Prefs& d) { d.Check2->click(); });
    }
    SetPlugInHostProgram(QString());
}

} // namespace orv::test
