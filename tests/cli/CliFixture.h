#pragma once
// Runs the built tarvelin program in a fresh, empty output folder of its own.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace cli_test {

class CliTest : public ::testing::Test {
protected:
    CliTest();
    ~CliTest() override;

    static ChildResult Run(const std::vector<std::string>& arguments);
    // A scene file of tests/cli/scenes.
    static std::string Scene(const std::string& name);
    std::string Output(const std::string& name) const { return (folder_ / name).string(); }
    // The names in the output folder, sorted.
    std::vector<std::string> OutputFiles() const;
    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
};

// A PNG file's width and height from its header; {0, 0} when the file is no PNG.
struct PngSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool operator==(const PngSize&) const = default;
};
PngSize ReadPngSize(const std::filesystem::path& file);
void PrintTo(const PngSize& size, std::ostream* out);

// The output lines of `text`, without their line ends.
std::vector<std::string> Lines(const std::string& text);

}  // namespace cli_test
