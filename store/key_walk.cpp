#include "store/key_walk.h"

#include "base/errors.h"
#include "store/store_format.h"

#include <fstream>

namespace telvara {

namespace {

class KeyWalk {
public:
    explicit KeyWalk(const std::string& path) : path_(path), file_(path, std::ios::binary) {
        if (!file_)
            throw IoError("ファイル " + path + " を開けません");
        unsigned char unit[kPageSize];
        readUnit(0, unit);
        header_ = TStoreHeader::decode(unit);
        file_.seekg(0, std::ios::end);
        units_ = static_cast<std::int64_t>(file_.tellg()) / kPageSize;
    }

    std::vector<std::string> keys() {
        std::vector<std::string> out;
        if (header_.Height > 0)
            walk(header_.RootPage, 1, out);
        return out;
    }

private:
    void readUnit(std::int64_t n, unsigned char* unit) {
        file_.clear();
        file_.seekg(n * kPageSize);
        if (!file_.read(reinterpret_cast<char*>(unit), kPageSize))
            throw IoError("ファイル " + path_ + " を読めません");
    }

    void walk(std::int32_t n, int level, std::vector<std::string>& out) {
        if (n < 1 || n >= units_ || level > header_.Height)
            throw IoError("ファイル " + path_ + " が壊れています");
        TTreePage page;
        readUnit(n, page.Bytes.data());
        const int count = page.keyCount();
        if (count < 0 || count > kMaxKeys)
            throw IoError("ファイル " + path_ + " が壊れています");
        const bool leaf = level == header_.Height;
        if (!leaf)
            walk(page.child(0), level + 1, out);
        for (int i = 1; i <= count; ++i) {
            out.emplace_back(page.key(i));
            if (!leaf)
                walk(page.child(i), level + 1, out);
        }
    }

    std::string path_;
    std::ifstream file_;
    TStoreHeader header_;
    std::int64_t units_ = 0;
};

} // namespace

std::vector<std::string> storedKeys(const std::string& pageFilePath) {
    return KeyWalk(pageFilePath).keys();
}

} // namespace telvara
