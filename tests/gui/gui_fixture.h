#pragma once
// Shared set-up of the GUI tests: a private settings folder per test, the real main window,
// and answering the next message box the way a user would.
#include "documents/ui/frmDocument.h"
#include "documents/ui/frmJPGQuality.h"
#include "effects/ui/frmProccessing.h"
#include "platform/picture_codec.h"
#include "shell/settings_store.h"
#include "shell/ui/frmMain.h"
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
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

// Runs `act` on the next modal dialog of this kind as soon as it shows.
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

// Types `path` into the next file dialog and accepts it (an empty path cancels it), recording
// the dialog's filters.
inline void AnswerNextFileDialog(const QString& path, QStringList* filters = nullptr)
{
    WithNextModal<QFileDialog>([path, filters](QFileDialog* dialog) {
        if (filters) *filters = dialog->nameFilters();
        if (path.isEmpty()) return dialog->reject();
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
    });
}

// Answers the quality question: moves the slider to `quality`, or closes the window if -1.
// Looks for the window every 10 ms, for up to 10 s: on a busy machine it can take a while to
// appear, and a question nobody answers would wait for ever.
inline void AnswerQuality(int quality, int* shown = nullptr)
{
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, quality, shown] {
        auto* q = qobject_cast<frmJPGQuality*>(VisibleWindow(QStringLiteral("frmJPGQuality")));
        if (!q && ++*tries < 1000) return;
        timer->stop();
        timer->deleteLater();
        if (!q) return void(ADD_FAILURE() << "no quality question");
        if (shown) *shown = q->Slider1->value();
        EXPECT_EQ(q->windowTitle(), QStringLiteral("JPEG Save quality"));
        if (quality < 0) return void(q->close());
        q->Slider1->setValue(quality);
        EXPECT_EQ(q->Label1->text(), QString::number(quality));
        q->Command1->click();
    });
    timer->start(10);
}

// Writes `picture` as a 24-bit bitmap to `path` and returns the path.
inline QString WriteBmp(const QString& path, const QImage& picture)
{
    QString error;
    EXPECT_TRUE(EncodeBmp24(picture, path, &error)) << error.toStdString();
    return path;
}

// Sends a mouse event to `w` at `at`, with `buttons` held.
inline void SendMouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::NoButton,
                      Qt::MouseButtons buttons = Qt::NoButton)
{
    QMouseEvent event(type, at, w->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

inline void DoubleClick(QWidget* w) { SendMouse(w, QEvent::MouseButtonDblClick, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton); }

// Presses Cancel on the progress window at the first chance the run gives, recording its caption.
inline void CancelRunAtFirstChance(QString* caption)
{
    QTimer::singleShot(0, [caption] {
        auto* progress = qobject_cast<frmProccessing*>(VisibleWindow(QStringLiteral("frmProccessing")));
        ASSERT_NE(progress, nullptr);
        *caption = progress->windowTitle();
        progress->Command1->click();
    });
}

struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
};

// Answers every message box with its default button (else OK) as soon as it shows, however
// deep in nested event loops, and records what each one said.
class MessageBoxes {
public:
    MessageBoxes()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible() || box->property("answered").toBool()) continue;
                box->setProperty("answered", true);
                shown.append({box->windowTitle(), box->text(), box->icon()});
                box->defaultButton() ? box->defaultButton()->click() : box->button(QMessageBox::Ok)->click();
            }
        });
        timer_.start();
    }
    QStringList texts() const
    {
        QStringList t;
        for (const ShownBox& b : shown) t << b.text;
        return t;
    }
    QList<ShownBox> shown;

private:
    QTimer timer_;
};

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
    QString setting(const QString& key, const QString& section = QStringLiteral("Settings")) const
    {
        return GetSetting(kAppTitle, section, key, QStringLiteral("<none>"));
    }
    void store(const QString& section, const QString& key, const QString& value) { SaveSetting(kAppTitle, section, key, value); }
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
        redo = doc->menuAction(QStringLiteral("mnuEditRedo"));
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
    QAction* redo = nullptr;
};

} // namespace orv::test
