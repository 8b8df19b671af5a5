// The record store behind store_bench's engine interface.
#include "store/bplustree.h"
#include "store_bench_engines.h"

namespace bench {

using namespace telvara;

void fillRecord(TRelayRecord& record, const Item& item) {
    const char* const values[] = {"100",  "1.0", "0.8",  "0.6", "0.5",
                                  "0.45", "0.4", "0.05", "4",   "20"};
    record.setField(TRecordField::KaisyaName, item.name);
    record.setField(TRecordField::DebaisuNo, item.device);
    for (int f = 2; f < kRecordFieldCount; ++f)
        record.setField(TRecordField(f), values[f - 2]);
}

namespace {

class StoreEngine final : public Engine {
public:
    explicit StoreEngine(const std::filesystem::path& dir) { store_.OpenStore(dir.string()); }

    void begin() override { store_.BeginTransaction(); }
    void commit() override { store_.Commit(); }
    void add(const Item& item) override {
        fillRecord(store_.CurrentRecord(), item);
        store_.InsertCurrent();
    }
    void remove(const Item& item) override {
        store_.CurrentRecord().setField(TRecordField::KaisyaName, item.name);
        store_.CurrentRecord().setField(TRecordField::DebaisuNo, item.device);
        store_.DeleteCurrent();
    }
    bool find(const Item& item) override {
        return store_.FindKey(recordKey(item.name, item.device));
    }

private:
    TBPlusTree store_;
};

} // namespace

std::unique_ptr<Engine> openStore(const std::filesystem::path& dir) {
    return std::make_unique<StoreEngine>(dir);
}

} // namespace bench
