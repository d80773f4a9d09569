#pragma once
// Shared set-up of the GUI tests: a private settings folder per test, the real main window,
// and answering the next message box the way a user would.
#include "documents/ui/frmDocument.h"
#include "shell/settings_store.h"
#include "shell/ui/frmMain.h"
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace orv::test {

// The visible top-level window (dialogs included) with this object name, or none.
inline QWidget* VisibleWindow(const QString& objectName)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == objectName && w->isVisible()) return w;
    return nullptr;
}

// The captions of the open documents, in order.
inline QStringList Captions(const frmMain& f)
{
    QStringList c;
    for (frmDocument* d : f.documents()) c << d->windowTitle();
    return c;
}

// Runs `act` on the dialog `name` as soon as it is open.
template <class Dialog>
void WhenOpen(const QString& name, std::function<void(Dialog*)> act)
{
    QTimer::singleShot(0, [name, act] {
        auto* dialog = qobject_cast<Dialog*>(VisibleWindow(name));
        ASSERT_NE(dialog, nullptr) << name.toStdString() << " is not open";
        act(dialog);
    });
}

// Runs `act` on the next modal dialog of this kind (an open dialog, a colour chooser) as soon
// as it shows.
template <class Dialog>
void WithNextModal(std::function<void(Dialog*)> act)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start(10);
}

// Clicks `button` on the next modal message box, and records its text.
inline void AnswerNextMessageBox(QMessageBox::StandardButton button, QString* text = nullptr)
{
    QTimer::singleShot(0, [button, text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr) << "no message box is open";
        if (text) *text = box->text();
        box->button(button)->click();
    });
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settingsDir.isValid());
        SetSettingsFolder(settingsDir.path());
        // Opened files go into a private desktop recent list, not the user's.
        qputenv("XDG_DATA_HOME", QFile::encodeName(settingsDir.filePath(QStringLiteral("data"))));
    }
    void TearDown() override
    {
        closeWithoutQuestions();
        SetSettingsFolder(QString());
        qunsetenv("XDG_DATA_HOME");
    }
    frmMain& start(const QString& commandLine = QString())
    {
        frame = std::make_unique<frmMain>();
        frame->MDIForm_Load(commandLine);
        QApplication::processEvents();
        return *frame;
    }
    // Ends the run as File > Exit would, with every document unchanged.
    void closeWithoutQuestions()
    {
        if (!frame) return;
        for (frmDocument* d : frame->documents()) d->Changed = false;
        frame->close();
        frame.reset();
    }
    QString setting(const QString& key) const
    {
        return GetSetting(kAppTitle, QStringLiteral("Settings"), key, QStringLiteral("<none>"));
    }
    void store(const QString& section, const QString& key, const QString& value)
    {
        SaveSetting(kAppTitle, section, key, value);
    }
    // Stores each key=value of the Settings section.
    void storeSettings(std::initializer_list<std::pair<const char*, const char*>> values)
    {
        for (auto [key, value] : values) store(QStringLiteral("Settings"), key, value);
    }

    QTemporaryDir settingsDir;
    std::unique_ptr<frmMain> frame;
};

// A started frame and its first document, with the document's Undo entry at hand.
class DocumentTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        start();
        doc = frame->ActiveDocument();
        undo = doc->menuAction(QStringLiteral("mnuEditUndo"));
    }
    void trigger(const char* menu) { doc->menuAction(QString::fromLatin1(menu))->trigger(); }
    // Chooses menu item `menu` and runs `act` on the dialog it opens.
    template <class Dialog>
    void runDialog(const char* menu, std::function<void(Dialog*)> act)
    {
        WhenOpen<Dialog>(QString::fromLatin1(Dialog::staticMetaObject.className()).section(QStringLiteral("::"), -1), act);
        trigger(menu);
    }
    // The progress window is gone and the main window usable again.
    void expectRunFinishedCleanly()
    {
        EXPECT_EQ(VisibleWindow(QStringLiteral("frmProccessing")), nullptr);
        EXPECT_TRUE(frame->isEnabled());
    }
    ColorRef at(int x, int y) { return doc->canvas().Point(x, y); }

    frmDocument* doc = nullptr;
    QAction* undo = nullptr;
};

} // namespace orv::test
