// A fresh folder per test under the system's temporary directory, removed afterwards.
#pragma once

#include <atomic>
#include <filesystem>
#include <string>

#include <unistd.h>

class TempDir {
  public:
    TempDir() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("zentrim-project-test-" + std::to_string(::getpid()) + "-" +
                 std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string dir() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Names of everything in the folder, to prove no temporary file was left behind.
    std::string listing() const {
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names += (names.empty() ? "" : " ") + entry.path().filename().string();
        return names;
    }

  private:
    std::filesystem::path path_;
};
