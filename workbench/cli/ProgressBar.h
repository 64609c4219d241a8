#pragma once
// A progress bar on stderr, drawn only when stderr is a terminal so that
// pipes and log files get no control characters.

#include <string>

namespace workbench::cli {

class ProgressBar {
public:
    explicit ProgressBar(std::string label);
    // Ends the bar's line if one was drawn.
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // `done` from 0 to 1; redraws when the shown percentage changes.
    void show(double done);

private:
    std::string label_;
    bool enabled_;
    int shownPercent_ = -1;
};

}  // namespace workbench::cli
