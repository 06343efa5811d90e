#pragma once

#include "support/file_bytes.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace kelmor::test {

// A test with a fresh empty folder of its own, removed with everything in it afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelmor-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    // Writes the bytes to the named file in the folder and returns its path.
    std::string writeFile(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    // The named file's bytes; empty when it is missing.
    std::string readFile(const std::string& name) const { return fileBytes(path(name)); }

    std::filesystem::path folder_;
};

} // namespace kelmor::test
