// Tool buttons from the keyboard and an accessibility client, the palette's names, the text box
// when the focus goes elsewhere, a two-button press, the splash logo, Typical's progress and failure.
#include "documents/ui/canvas_view.h"
#include "effects/ui/frmEffectsTypical.h"
#include "gui_fixture.h"
#include "shell/ui/color_panel.h"
#include "shell/ui/frmSplash.h"
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <sys/resource.h>
#include <unistd.h>

namespace orv::test {

namespace {

using ControlsTest = DocumentTest;

// Caps the address space at the current use plus `headroom` bytes while it lives: a large
// allocation then fails as on a machine out of memory.
struct AddressSpaceCap {
    explicit AddressSpaceCap(rlim_t headroom)
    {
        getrlimit(RLIMIT_AS, &old);
        long pages = 0;
        if (FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
            std::fclose(f);
        }
        const rlimit cap{rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + headroom, old.rlim_max};
        active = pages > 0 && setrlimit(RLIMIT_AS, &cap) == 0;
    }
    ~AddressSpaceCap() { setrlimit(RLIMIT_AS, &old); }
    rlimit old{};
    bool active = false;
};

} // namespace

TEST_F(ControlsTest, ToolButtonsChooseTheToolFromKeyboardAndAccessibility)
{
    const auto toolWidget = [this](int i) {
        return qobject_cast<QToolButton*>(frame->toolsToolbar()->widgetForAction(frame->toolButton(i)));
    };
    // Space on the focused Line button.
    QToolButton* line = toolWidget(5);
    ASSERT_NE(line, nullptr);
    line->setFocus();
    QTest::keyClick(line, Qt::Key_Space);
    EXPECT_TRUE(frame->toolButton(5)->isChecked());
    EXPECT_EQ(doc->ToolName, QStringLiteral("Line"));

    // An accessibility client's toggle on the Eraser button.
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(toolWidget(10));
    ASSERT_TRUE(a && a->actionInterface());
    const QString toggle = QAccessibleActionInterface::toggleAction();
    ASSERT_TRUE(a->actionInterface()->actionNames().contains(toggle));
    a->actionInterface()->doAction(toggle);
    EXPECT_TRUE(frame->toolButton(10)->isChecked());
    EXPECT_EQ(doc->ToolName, QStringLiteral("Eraser"));   // what an eraser drag does: ToolsTest
    EXPECT_EQ(doc->ToolIndex, 9);

    // Activating a document shows its own tool without changing the other's.
    frame->mnuFileNew_Click();
    EXPECT_EQ(frame->ActiveDocument()->ToolName, QStringLiteral("FreeDraw"));
    EXPECT_TRUE(frame->toolButton(1)->isChecked());
    EXPECT_EQ(doc->ToolName, QStringLiteral("Eraser"));
}

TEST_F(ControlsTest, EachPaletteCellIsNamedByItsColour)
{
    const QList<ColorCell*>& cells = frame->colors()->Picture2;
    ASSERT_EQ(cells.size(), 40);
    EXPECT_EQ(cells[13]->accessibleName(), QStringLiteral("Red 192, Green 64, Blue 0"));
    QSet<QString> names;
    for (ColorCell* c : cells) names.insert(c->accessibleName());
    EXPECT_EQ(names.size(), 40);
}

TEST_F(ControlsTest, TypedTextSurvivesTheFocusLeavingTheProgram)
{
    frame->toolButton(11)->trigger();
    frame->show();
    QApplication::setActiveWindow(frame.get());
    QTest::mouseClick(doc->DrawIMG, Qt::LeftButton, {}, QPoint(10, 12));
    QLineEdit* box = doc->Text1;
    ASSERT_TRUE(box->isVisible());
    QTest::keyClicks(box, QStringLiteral("Hello"));

    // A menu opened while typing, then another window (another application, as far as the frame
    // can tell) taking the focus: the entry stays.
    QMenu* file = frame->ActiveDocument()->menus().first();
    file->popup(frame->mapToGlobal(QPoint(10, 10)));
    QApplication::processEvents();
    EXPECT_TRUE(box->isVisible());
    file->close();
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::processEvents();
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), QStringLiteral("Hello"));

    // Back in the program, typing goes on.
    QApplication::setActiveWindow(frame.get());
    QApplication::processEvents();
    EXPECT_TRUE(box->hasFocus());
    QTest::keyClicks(box, QStringLiteral("!"));
    EXPECT_EQ(box->text(), QStringLiteral("Hello!"));

    // Another control of the program ends the entry, as before.
    doc->DrawIMG->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(box->text().isEmpty());
}

TEST_F(ControlsTest, ALeftPressWhileTheRightButtonIsHeldDoesNothing)
{
    const QImage before = doc->canvas().Image();
    SendMouse(doc->DrawIMG, QEvent::MouseButtonPress, QPointF(10, 10), Qt::LeftButton, Qt::LeftButton | Qt::RightButton);
    SendMouse(doc->DrawIMG, QEvent::MouseMove, QPointF(40, 30), Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    EXPECT_FALSE(doc->ButtonPressed);
    EXPECT_FALSE(doc->Changed);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(doc->canvas().Image(), before);
}

TEST_F(ControlsTest, TheSplashShowsTheLogo)
{
    frmSplash splash;
    auto* logo = splash.findChild<QLabel*>(QStringLiteral("Image1"));
    ASSERT_NE(logo, nullptr);
    EXPECT_GT(logo->pixmap().width(), 16);
    EXPECT_FALSE(frame->windowIcon().isNull());
}

TEST_F(ControlsTest, TypicalFillsItsBarInTwoPhasesAndSurvivesAFailedRun)
{
    doc->canvas().resizePixels(400, 300);
    std::vector<int> values;
    int maximum = 0;
    runDialog<frmEffectsTypical>("mnuEffectsTypical", [&](frmEffectsTypical* d) {
        d->Combo1->setCurrentIndex(d->Combo1->findText(QStringLiteral("Smooth")));
        QObject::connect(d->ProgressBar1, &QProgressBar::valueChanged, [&values](int v) { values.push_back(v); });
        d->Command1->click();
        maximum = d->ProgressBar1->maximum();
    });
    EXPECT_EQ(maximum, 200);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    // The table's half and the filter's half both show.
    EXPECT_TRUE(std::any_of(values.begin(), values.end(), [](int v) { return v > 0 && v < 100; }));
    EXPECT_TRUE(std::any_of(values.begin(), values.end(), [](int v) { return v > 150 && v < 200; }));

    // Without memory for the working copy: a message, the picture kept, the dialog usable again.
    doc->canvas().resizePixels(3000, 3000);
    const QImage before = doc->canvas().Image();
    QString message;
    bool capped = false, usable = false;
    runDialog<frmEffectsTypical>("mnuEffectsTypical", [&](frmEffectsTypical* d) {
        AnswerNextMessageBox(QMessageBox::Ok, &message);
        {
            AddressSpaceCap cap(8 << 20);
            capped = cap.active;
            d->Command1->click();
        }
        usable = d->isVisible() && d->Command1->isEnabled() && d->Command2->isEnabled() && d->Combo1->isVisible() &&
                 !d->ProgressBar1->isVisible();   // the list back in place of the bar
        d->Command2->click();
    });
    if (!capped) GTEST_SKIP() << "the address space cannot be capped here";
    EXPECT_EQ(message, QStringLiteral("There is not enough memory to apply this effect to the picture."));
    EXPECT_TRUE(usable);
    EXPECT_EQ(doc->canvas().Image(), before);
}

} // namespace orv::test
