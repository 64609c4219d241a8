#include "CliFixture.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace cli_test {

CliTest::CliTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvelin-cli-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern;
}

CliTest::~CliTest() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

ChildResult CliTest::Run(const std::vector<std::string>& arguments) { return RunChild(TARVELIN_PROGRAM, arguments); }

std::string CliTest::Scene(const std::string& name) { return std::string(CLI_TEST_SCENES) + "/" + name; }

std::vector<std::string> CliTest::OutputFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

PngSize ReadPngSize(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::string header(24, '\0');
    if (!stream.read(header.data(), static_cast<std::streamsize>(header.size()))) return {};
    if (header.substr(0, 8) != "\x89PNG\r\n\x1a\n" || header.substr(12, 4) != "IHDR") return {};
    const auto word = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(header[at + i]);
        return value;
    };
    return {word(16), word(20)};
}

void PrintTo(const PngSize& size, std::ostream* out) { *out << size.width << "x" << size.height; }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

}  // namespace cli_test
