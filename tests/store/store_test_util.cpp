#include "store_test_util.h"

#include "base/errors.h"
#include "base/os/files.h"
#include "store/store_check.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace telvara::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("telvara-store-" + std::to_string(os::processId()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::int32_t le32(const Bytes& b, std::size_t o) {
    return std::int32_t(std::uint32_t(b.at(o)) | std::uint32_t(b.at(o + 1)) << 8 |
                        std::uint32_t(b.at(o + 2)) << 16 | std::uint32_t(b.at(o + 3)) << 24);
}

void putLe32(Bytes& b, std::size_t o, std::int32_t v) {
    const auto u = std::uint32_t(v);
    for (int i = 0; i < 4; ++i)
        b.at(o + i) = (u >> (8 * i)) & 0xFF;
}

Bytes unitOf(const Bytes& file, int n) {
    if (file.size() < std::size_t(n + 1) * 1024)
        throw std::runtime_error("page file too short for unit " + std::to_string(n));
    return Bytes(file.begin() + n * 1024, file.begin() + (n + 1) * 1024);
}

Bytes headerImage(std::int32_t pagesInUse, std::int32_t recordsInUse, std::int32_t rootPage,
                  std::int32_t nextNewPage, std::int32_t nextNewRecord, std::int32_t freePageHead,
                  std::int32_t freeRecordHead, std::int32_t height) {
    Bytes b(1024, 0);
    b[0] = 1;
    putLe32(b, 4, pagesInUse);
    putLe32(b, 8, recordsInUse);
    putLe32(b, 12, rootPage);
    putLe32(b, 16, nextNewPage);
    putLe32(b, 20, nextNewRecord);
    putLe32(b, 24, freePageHead);
    putLe32(b, 28, freeRecordHead);
    putLe32(b, 32, height);
    return b;
}

Bytes pageImage(const std::vector<std::string>& keys, const std::vector<std::int32_t>& children) {
    Bytes b(1024, 0);
    putLe32(b, 4, std::int32_t(keys.size()));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::size_t off = 8 + i * 42;
        const std::string k = keys[i].substr(0, 41);
        b[off] = static_cast<unsigned char>(k.size());
        std::copy(k.begin(), k.end(), b.begin() + std::ptrdiff_t(off + 1));
    }
    for (std::size_t i = 0; i < children.size(); ++i)
        putLe32(b, 932 + 4 * i, children[i]);
    return b;
}

Bytes freedPageImage(std::int32_t next) {
    Bytes b(1024, 0);
    putLe32(b, 932, next);
    return b;
}

DecodedPage decodePage(const Bytes& file, int n) {
    const Bytes u = unitOf(file, n);
    DecodedPage p;
    p.KeyCount = le32(u, 4);
    for (int i = 0; i < p.KeyCount && i < 22; ++i) {
        const std::size_t off = 8 + std::size_t(i) * 42;
        p.Keys.emplace_back(reinterpret_cast<const char*>(&u[off + 1]), u[off]);
    }
    for (int i = 0; i <= p.KeyCount && i <= 22; ++i)
        p.Children.push_back(le32(u, 932 + 4 * std::size_t(i)));
    return p;
}

Fields fieldsFor(const std::string& name, const std::string& device, int variant) {
    const std::string v = std::to_string(variant % 10);
    return {name,  device, "100", "1." + v, "0.8", "0.6",
            "0.5", "0.45", "0.4", "0.05",   "4",   "2" + v};
}

Bytes recordImage(const Fields& fields) {
    static const int offsets[12] = {1, 38, 69, 74, 80, 86, 92, 98, 104, 110, 116, 119};
    static const int capacities[12] = {36, 30, 4, 5, 5, 5, 5, 5, 5, 5, 2, 3};
    Bytes b(124, 0);
    for (int f = 0; f < 12; ++f) {
        const std::string t = fields.at(std::size_t(f)).substr(0, std::size_t(capacities[f]));
        b[std::size_t(offsets[f])] = static_cast<unsigned char>(t.size());
        std::copy(t.begin(), t.end(), b.begin() + offsets[f] + 1);
    }
    return b;
}

Bytes slotOf(const Bytes& file, int s) {
    if (file.size() < std::size_t(s + 1) * 124)
        throw std::runtime_error("record file too short for slot " + std::to_string(s));
    return Bytes(file.begin() + s * 124, file.begin() + (s + 1) * 124);
}

Bytes freedSlotImage(std::int32_t next) {
    Bytes b(124, 0);
    putLe32(b, 4, next);
    return b;
}

void setFields(TRelayRecord& r, const Fields& fields) {
    for (int f = 0; f < kRecordFieldCount; ++f)
        r.setField(TRecordField(f), fields.at(std::size_t(f)));
}

Fields fieldsOf(const TRelayRecord& r) {
    Fields out;
    for (int f = 0; f < kRecordFieldCount; ++f)
        out.emplace_back(r.field(TRecordField(f)));
    return out;
}

std::string exampleName(int i) {
    return (i < 10 ? "K0" : "K") + std::to_string(i);
}
std::string exampleKey(int i) {
    return exampleName(i) + ",51R";
}

void insertRecord(TBPlusTree& store, const std::string& name, const std::string& device,
                  int variant) {
    setFields(store.CurrentRecord(), fieldsFor(name, device, variant));
    store.InsertCurrent();
}

void deleteRecord(TBPlusTree& store, const std::string& name, const std::string& device) {
    store.CurrentRecord().setField(TRecordField::KaisyaName, name);
    store.CurrentRecord().setField(TRecordField::DebaisuNo, device);
    store.DeleteCurrent();
}

std::string readText(const std::string& path) {
    const Bytes b = readBytes(path);
    return std::string(b.begin(), b.end());
}

std::string problems(const std::string& folder) {
    std::string out;
    for (const auto& p : checkStore(folder).Problems)
        out += p + "\n";
    return out;
}

std::string ioErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const IoError& e) {
        return e.what();
    }
    return "";
}

} // namespace telvara::test
