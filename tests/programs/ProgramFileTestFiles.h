#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace Korvatune {

// A private folder per test for program files written and read back.
class ProgramFileFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 ("ombrafell-progfile-" + std::to_string(::getpid()) + "-" + test->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string path(const std::string& name) const { return (folder / name).string(); }

    std::string fileWith(const std::string& text, const std::string& name = "test.obp") const {
        std::ofstream(path(name), std::ios::binary) << text;
        return path(name);
    }

    std::string contentsOf(const std::string& file) const {
        std::ifstream stream(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path folder;
};

} // namespace Korvatune
