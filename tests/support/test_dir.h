// A scratch folder of the running test, named for its process too: the same
// test programs run at once from several build folders, and must never
// write into each other's files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace zoedit::test {

inline std::filesystem::path testScratchDir(const std::string& prefix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid()) + "_" +
                                                     info->test_suite_name() + "_" + info->name());
}

}  // namespace zoedit::test
