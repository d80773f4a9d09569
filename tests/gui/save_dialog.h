#pragma once
// Answers the editor's save dialog.
#include "gui_fixture.h"

namespace orv::test {

// Types `name` into the save dialog (empty: cancels it), running `next` first if given. The
// dialog offers bitmaps first; `filter`, when given, is chosen instead.
inline void AnswerSaveDialog(const QString& name, std::function<void()> next = {}, const QString& filter = {})
{
    QTimer::singleShot(0, [name, next, filter] {
        auto* dialog = qobject_cast<QFileDialog*>(VisibleWindow(QStringLiteral("SaveDialog")));
        ASSERT_NE(dialog, nullptr) << "no save dialog";
        EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("Bitmap files (*.bmp)"));
        if (!filter.isEmpty()) {
            dialog->selectNameFilter(filter);
            emit dialog->filterSelected(filter);
        }
        if (next) next();
        if (name.isEmpty()) return dialog->reject();
        dialog->selectFile(name);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

} // namespace orv::test
