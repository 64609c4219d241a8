#include "workbench/cli/ProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace workbench::cli {

namespace {

constexpr int kBarWidth = 40;

}  // namespace

ProgressBar::ProgressBar(std::string label) : label_(std::move(label)), enabled_(isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar() {
    if (enabled_ && shownPercent_ >= 0) std::fputc('\n', stderr);
}

void ProgressBar::show(double done) {
    if (!enabled_) return;
    const int percent = static_cast<int>(std::clamp(done, 0.0, 1.0) * 100.0);
    if (percent == shownPercent_) return;
    shownPercent_ = percent;
    const int filled = percent * kBarWidth / 100;
    std::fprintf(stderr, "\r%s [%s%s] %3d%%", label_.c_str(), std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), percent);
    std::fflush(stderr);
}

}  // namespace workbench::cli
