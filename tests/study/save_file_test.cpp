// Saving a study: a crash at any step leaves the old or the new file whole;
// a failed write leaves the old file and nothing beside it.
#include "study/save_file.h"

#include "base/errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace telvara;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void put(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

class SaveFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("telvara-save-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "s.tvstudy").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    fs::path dir;
    std::string path;
};

TEST_F(SaveFileTest, ACrashAtAnyStepLeavesTheOldOrTheNewFile) {
    const std::string oldText(100000, 'o');
    const std::string newText(150000, 'n');
    for (int stop = 0; stop <= 5; ++stop) {
        put(path, oldText);
        fs::remove(path + "~");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The process dies at the step, as a kill or a power cut would stop it.
            int step = 0;
            saveFileAtomically(path, newText, [&](SaveStep) {
                if (step++ == stop)
                    ::_exit(0);
            });
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string now = slurp(path);
        EXPECT_TRUE(now == oldText || now == newText) << "stopped at step " << stop;
        // Before the rename (the fourth step) the old file is there; after it the new one.
        EXPECT_EQ(stop <= 3 ? oldText : newText, now) << stop;
        if (stop >= 3)
            EXPECT_EQ(oldText, slurp(path + "~")) << stop;
    }
}

TEST_F(SaveFileTest, AFailedWriteLeavesTheOldFileAndNothingBesideIt) {
    put(path, "old");
    for (SaveStep failing :
         {SaveStep::WriteNew, SaveStep::SyncNew, SaveStep::KeepBackup, SaveStep::Rename}) {
        EXPECT_THROW(saveFileAtomically(path, "new",
                                        [&](SaveStep s) {
                                            if (s == failing)
                                                throw IoError("ディスクがいっぱいです");
                                        }),
                     IoError);
        EXPECT_EQ("old", slurp(path));
    }
    // The backup step had run once before the rename failed.
    EXPECT_EQ((std::vector<std::string>{"s.tvstudy", "s.tvstudy~"}), names());

    saveFileAtomically(path, "new");
    saveFileAtomically(path, "newer");
    EXPECT_EQ("newer", slurp(path));
    EXPECT_EQ("new", slurp(path + "~"));
    EXPECT_EQ((std::vector<std::string>{"s.tvstudy", "s.tvstudy~"}), names());

    // A folder that is not there: refused, nothing made.
    EXPECT_THROW(saveFileAtomically((dir / "none" / "s.tvstudy").string(), "x"), IoError);
}

} // namespace
