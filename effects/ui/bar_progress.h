#pragma once
// Progress on a bar of the effect's own dialog, for the runs that show no progress dialog and
// cannot be cancelled. The bar is repainted at once, without handing events to the dialog, so
// its buttons cannot start a second run meanwhile.
#include "effects/column_passes.h"
#include <QProgressBar>

namespace orv {

class BarProgress : public ProgressSink {
public:
    explicit BarProgress(QProgressBar* bar) : bar_(bar) {}
    void setProgress(float value) override
    {
        bar_->setValue(static_cast<int>(value));
        bar_->repaint();
    }
    bool cancelRequested() override { return false; }

private:
    QProgressBar* bar_;
};

} // namespace orv
