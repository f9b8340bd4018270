// Every test program keeps the user's data folder (the commissioning record the window and
// kestrin-cli append to after a write) in a temporary folder of its own, never in the real home;
// child processes inherit it. Tests that look at the record set a folder of their own as well.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
struct TTestDataHome {
    std::string Path;
    TTestDataHome() {
        char pattern[] = "/tmp/kestrin-test-data-XXXXXX";
        if (const char* made = ::mkdtemp(pattern)) {
            Path = made;
            ::setenv("XDG_DATA_HOME", made, 1);
        }
    }
    ~TTestDataHome() {
        std::error_code ignored;
        if (!Path.empty())
            std::filesystem::remove_all(Path, ignored);
    }
};
const TTestDataHome DataHome;
} // namespace
