// The file layer, the same tests on POSIX and on Windows: transfers at an
// offset, sync, the refusals with their errno, renames, the first-byte lock
// and Japanese paths.
#include "base/os/files.h"
#include "base/os/lock.h"
#include "base/os/paths.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace fs = std::filesystem;
using namespace telvara;

namespace {

struct Folder {
    fs::path path;
    // A Japanese name on purpose: every call below goes through UTF-8.
    Folder()
        : path(fs::temp_directory_path() /
               os::pathOf("保護協調-" + std::to_string(os::processId()))) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string file(const std::string& name) const { return os::utf8Of(path) + "/" + name; }
};

std::string contents(const std::string& file) {
    std::ifstream in(os::pathOf(file), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Handle {
    os::FileHandle h;
    explicit Handle(os::FileHandle file) : h(file) {}
    ~Handle() { os::closeFile(h); }
};

TEST(OsFiles, WritesAtAnOffsetSyncsAndTruncates) {
    Folder dir;
    const std::string name = dir.file("台帳.dat");
    Handle f(os::openFile(name, os::FileOpen::CreateNew));
    ASSERT_NE(f.h, os::kNoFile) << errno;
    EXPECT_EQ(os::writeAt(f.h, 5, "abc", 3), 3);
    EXPECT_TRUE(os::syncFile(f.h));
    std::int64_t size = -1;
    ASSERT_TRUE(os::fileSize(f.h, size));
    EXPECT_EQ(size, 8);
    EXPECT_EQ(contents(name), std::string("\0\0\0\0\0abc", 8));
    char buf[16] = {};
    EXPECT_EQ(os::readAt(f.h, 4, buf, sizeof buf), 4); // short at the end
    EXPECT_EQ(std::string(buf, 4), std::string("\0abc", 4));
    ASSERT_TRUE(os::truncateFile(f.h, 6));
    ASSERT_TRUE(os::fileSize(f.h, size));
    EXPECT_EQ(size, 6);
    EXPECT_EQ(contents(name), std::string("\0\0\0\0\0a", 6));
    // Another handle sees the bytes without any flush of this one.
    Handle g(os::openFile(name, os::FileOpen::ReadOnly));
    EXPECT_EQ(os::readAt(g.h, 5, buf, 1), 1);
    EXPECT_EQ(buf[0], 'a');
    EXPECT_EQ(os::writeAt(g.h, 0, "x", 1), -1); // opened for reading only
}

TEST(OsFiles, RefusalsNameTheirCause) {
    Folder dir;
    const std::string name = dir.file("a");
    { Handle f(os::openFile(name, os::FileOpen::CreateNew)); }
    errno = 0;
    EXPECT_EQ(os::openFile(name, os::FileOpen::CreateNew), os::kNoFile);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(os::openFile(dir.file("missing"), os::FileOpen::ReadWrite), os::kNoFile);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(os::openFile(os::utf8Of(dir.path), os::FileOpen::ReadOnly), os::kNoFile);
    EXPECT_EQ(errno, EISDIR);
    EXPECT_TRUE(os::syncFolder(os::utf8Of(dir.path)));
}

TEST(OsFiles, ALinkIsNeverFollowed) {
    Folder dir;
    const std::string target = dir.file("target"), link = dir.file("link");
    std::ofstream(os::pathOf(target)) << "kept";
    std::error_code ec;
    fs::create_symlink(os::pathOf(target), os::pathOf(link), ec);
    if (ec || !fs::is_symlink(os::pathOf(link), ec))
        GTEST_SKIP() << "no symbolic links here: " << ec.message();
    for (os::FileOpen how : {os::FileOpen::ReadOnly, os::FileOpen::ReadWrite}) {
        errno = 0;
        EXPECT_EQ(os::openFile(link, how), os::kNoFile);
        EXPECT_EQ(errno, ELOOP);
    }
    EXPECT_EQ(contents(target), "kept");
}

TEST(OsFiles, RenamesReplaceOnlyWhenAsked) {
    Folder dir;
    const std::string a = dir.file("新.tmp"), b = dir.file("b"), c = dir.file("c");
    std::ofstream(os::pathOf(a)) << "new";
    std::ofstream(os::pathOf(b)) << "old";
    errno = 0;
    EXPECT_FALSE(os::renameNoReplace(a, b));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(contents(a), "new");
    EXPECT_EQ(contents(b), "old");
    ASSERT_TRUE(os::replaceFile(a, b));
    EXPECT_EQ(contents(b), "new");
    EXPECT_FALSE(fs::exists(os::pathOf(a)));
    ASSERT_TRUE(os::renameNoReplace(b, c));
    EXPECT_EQ(contents(c), "new");
    EXPECT_FALSE(fs::exists(os::pathOf(b)));
}

TEST(OsFiles, PathsAreUtf8BothWays) {
    const std::string name = "ｸﾞﾗﾌ/保護協調曲線.csv";
    EXPECT_EQ(os::utf8Of(os::pathOf(name)), name);
    EXPECT_EQ(os::utf8Of(os::pathOf(name).filename()), "保護協調曲線.csv");
    EXPECT_TRUE(os::endsInSeparator("データ/"));
    EXPECT_FALSE(os::endsInSeparator("データ"));
}

TEST(OsLock, FirstByteSharedAmongReadersExclusiveForAWriter) {
    Folder dir;
    const std::string name = dir.file("ZuboK.dat");
    { Handle f(os::openFile(name, os::FileOpen::CreateNew)); }
    Handle a(os::openFile(name, os::FileOpen::ReadWrite));
    Handle b(os::openFile(name, os::FileOpen::ReadWrite));
    ASSERT_TRUE(os::tryLockFirstByte(a.h, os::LockKind::Exclusive));
    errno = 0;
    EXPECT_FALSE(os::tryLockFirstByte(b.h, os::LockKind::Shared));
    EXPECT_EQ(errno, EAGAIN);
    EXPECT_FALSE(os::tryLockFirstByte(b.h, os::LockKind::Exclusive));
    os::unlockFirstByte(a.h);
    ASSERT_TRUE(os::tryLockFirstByte(b.h, os::LockKind::Shared));
    ASSERT_TRUE(os::tryLockFirstByte(a.h, os::LockKind::Shared));
    EXPECT_FALSE(os::tryLockFirstByte(Handle(os::openFile(name, os::FileOpen::ReadWrite)).h,
                                      os::LockKind::Exclusive));
    os::unlockFirstByte(a.h);
    os::unlockFirstByte(b.h);
    Handle c(os::openFile(name, os::FileOpen::ReadWrite));
    EXPECT_TRUE(os::tryLockFirstByte(c.h, os::LockKind::Exclusive));
    os::unlockFirstByte(c.h);
}

} // namespace
