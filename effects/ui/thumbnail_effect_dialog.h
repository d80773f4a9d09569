#pragma once
// An effect dialog that previews on a thumbnail: the preview box with the canvas's thumbnail on
// top, a frame "Settings" (frmSetting) for the effect's controls, then Preview, OK and Cancel.
// Preview runs the effect on the thumbnail only; OK runs it on the canvas through the shared
// run sequence, which takes the undo snapshot then.
#include "effects/column_passes.h"
#include <QDialog>
#include <functional>

class QPushButton;
class QScrollBar;

namespace orv {

class ThumbnailPreview;
class WorkingCopy;
class frmDocument;

using MakePasses = std::function<std::vector<ColumnPass>(WorkingCopy&)>;

class ThumbnailEffectDialog : public QDialog {
    Q_OBJECT
public:
    ThumbnailEffectDialog(frmDocument* doc, const QString& objectName, const QString& caption,
                          const QString& runCaption);

    ThumbnailPreview* Preview;
    QWidget* frmSetting;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdPreview;

    void cmdPreview_Click();
    void cmdOK_Click();

protected:
    // The effect's passes for the controls as they are, or none when a value cannot be used
    // (the dialog has then said why and stays open).
    virtual MakePasses currentPasses() = 0;

    frmDocument* doc_;

private:
    QString runCaption_;
};

// A horizontal scroll bar from 0 to max for one of a dialog's values, named for the keyboard
// and for screen readers.
QScrollBar* ValueScrollBar(QWidget* parent, const char* name, const QString& accessible, int max, int value);

} // namespace orv
