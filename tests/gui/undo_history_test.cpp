#include "gui_fixture.h"
#include <QAction>

namespace orv::test {

// The entries name the step they act on and are there only when it exists; a drawn stroke is
// named after its tool.
TEST_F(DocumentTest, UndoAndRedoEntriesNameTheirStep)
{
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(redo->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    doc->DrawIMG_MouseDown(1, 5, 5);
    doc->DrawIMG_MouseMove(1, 30, 5);
    doc->DrawIMG_MouseUp(1, 30, 5);
    trigger("mnuEditFlipHorizontal");
    const struct {
        QAction* entry;
        QString undoText, redoText;
        bool undoOn, redoOn;
    } rows[] = {
        {nullptr, "Undo Flip Horizontal", "Redo", true, false},
        {undo, "Undo Freeform", "Redo Flip Horizontal", true, true},
        {undo, "Undo", "Redo Freeform", false, true},
        {redo, "Undo Freeform", "Redo Flip Horizontal", true, true},
    };
    for (const auto& row : rows) {
        if (row.entry) row.entry->trigger();
        EXPECT_EQ(undo->text(), row.undoText);
        EXPECT_EQ(redo->text(), row.redoText);
        EXPECT_EQ(undo->isEnabled(), row.undoOn);
        EXPECT_EQ(redo->isEnabled(), row.redoOn);
    }
}

} // namespace orv::test
