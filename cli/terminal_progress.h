#pragma once
// Progress of an effect run as a bar on standard error, shown only when standard error is a
// terminal and only once the run has taken a moment, so short runs and pipes stay quiet.
#include "effects/column_passes.h"
#include <QElapsedTimer>

namespace orv {

class TerminalProgress : public ProgressSink {
public:
    TerminalProgress();
    ~TerminalProgress() override;   // ends the bar's line
    void setProgress(float value) override;
    bool cancelRequested() override { return false; }

private:
    bool terminal_;
    bool shown_ = false;
    int lastPercent_ = -1;
    QElapsedTimer clock_;
};

} // namespace orv
