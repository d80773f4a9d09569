#include "cli/terminal_progress.h"
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace orv {

namespace {
constexpr qint64 kQuietMs = 500;   // runs shorter than this show no bar
constexpr int kBarWidth = 40;
}

TerminalProgress::TerminalProgress() : terminal_(::isatty(STDERR_FILENO) == 1)
{
    clock_.start();
}

TerminalProgress::~TerminalProgress()
{
    if (shown_) std::fputs("\n", stderr);
}

void TerminalProgress::setProgress(float value)
{
    if (!terminal_ || clock_.elapsed() < kQuietMs) return;
    const int percent = std::clamp(static_cast<int>(value), 0, 100);
    if (percent == lastPercent_) return;
    lastPercent_ = percent;
    shown_ = true;
    char bar[kBarWidth + 1];
    const int filled = percent * kBarWidth / 100;
    std::fill(bar, bar + filled, '#');
    std::fill(bar + filled, bar + kBarWidth, '.');
    bar[kBarWidth] = '\0';
    std::fprintf(stderr, "\r[%s] %3d%%", bar, percent);
    std::fflush(stderr);
}

} // namespace orv
