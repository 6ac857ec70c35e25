#pragma once
// A folder of its own per test (with the subfolders given), removed afterwards, for
// tests that read and write files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <unistd.h>

namespace testsupport {

class TTempFolderTest : public ::testing::Test {
protected:
    explicit TTempFolderTest(std::initializer_list<const char*> subfolders = {})
        : folder(std::filesystem::temp_directory_path() / FolderName())
    {
        std::filesystem::create_directories(folder);
        for (const char* name : subfolders) {
            std::filesystem::create_directories(folder / name);
        }
    }
    ~TTempFolderTest() override { std::filesystem::remove_all(folder); }

    std::string Path(const std::string& name) const { return (folder / name).string(); }
    void WriteText(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    std::string ReadText(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path folder;

private:
    // Parameterised tests have '/' in their names; the folder stays one level deep.
    static std::string FolderName()
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "kerfpad-" + std::to_string(::getpid()) + "-" + test->test_suite_name() + "-" + test->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        return name;
    }
};

} // namespace testsupport
