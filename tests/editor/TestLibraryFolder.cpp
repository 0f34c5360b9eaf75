#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

// Editors in these tests propose and create the program library: it lies in a folder of the
// tests' own, removed at the end, never the user's, unless the run names one.
class TestLibraryFolder {
public:
    TestLibraryFolder()
        : folder_(std::filesystem::temp_directory_path() /
                  ("ombrafell-test-library-" + std::to_string(::getpid()))) {
        setenv("OMBRAFELL_LIBRARY", (folder_ / "Programs").c_str(), 0);
    }
    ~TestLibraryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    TestLibraryFolder(const TestLibraryFolder&) = delete;
    TestLibraryFolder& operator=(const TestLibraryFolder&) = delete;

private:
    std::filesystem::path folder_;
};

const TestLibraryFolder testLibraryFolder;

} // namespace
