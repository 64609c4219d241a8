// The deliverable: the 32-bit Windows module as the host sees its file.

#include <cstdio>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

struct PeTables {
    std::string format;
    std::string exportName;
    std::vector<std::string> exports;
    std::vector<std::string> importedDlls;
};

// Reads the export and import tables out of `objdump -p`.
PeTables ReadPeTables(const std::string& path) {
    const std::string command = std::string("'" TARVELIN_OBJDUMP "' -p '") + path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    PeTables tables;
    if (!pipe) return tables;
    std::string output;
    char buffer[4096];
    while (std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe.get())) output.append(buffer, read);

    const std::regex format(R"(file format (\S+))");
    const std::regex exportName(R"(^Name\s+[0-9a-fA-F]+\s+(\S+)\s*$)");
    const std::regex exportEntry(R"(^\s*\[\s*\d+\]\s+(?:\+base\[\s*\d+\]\s+[0-9a-fA-F]+\s+)?(\S+)\s*$)");
    const std::regex importedDll(R"(^\s*DLL Name:\s+(\S+)\s*$)");
    bool inNameTable = false;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (tables.format.empty() && std::regex_search(line, match, format)) tables.format = match[1];
        if (std::regex_match(line, match, exportName)) tables.exportName = match[1];
        if (std::regex_match(line, match, importedDll)) tables.importedDlls.push_back(match[1]);
        if (line.find("[Ordinal/Name Pointer] Table") != std::string::npos) inNameTable = true;
        else if (inNameTable && std::regex_match(line, match, exportEntry)) tables.exports.push_back(match[1]);
        else if (inNameTable && line.find_first_not_of(" \t\r") == std::string::npos) inNameTable = false;
    }
    return tables;
}

TEST(WindowsModule, IsOneSelfContained32BitFileThatExportsOnlyTheDescriptor) {
    const PeTables tables = ReadPeTables(TARVELIN_WINDOWS_MODULE_PATH);

    EXPECT_EQ(tables.format, "pei-i386");
    EXPECT_EQ(tables.exportName, "TarvelinCam.p");
    EXPECT_THAT(tables.exports, ElementsAre("_mod_descrip"));
    EXPECT_THAT(tables.importedDlls, UnorderedElementsAre("KERNEL32.dll", "msvcrt.dll"));
}

}  // namespace
