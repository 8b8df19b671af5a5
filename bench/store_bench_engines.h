#pragma once
// The engines store_bench compares: the record store and SQLite, each behind
// the same small interface of operations grouped into commits.
#include "store/store_format.h"

#include <filesystem>
#include <memory>
#include <string>

namespace bench {

struct Item {
    std::string name, device; // CP932 bytes
};

// The record every engine stores for an item: its key fields and fixed settings.
void fillRecord(telvara::TRelayRecord& record, const Item& item);

class Engine {
public:
    virtual ~Engine() = default;
    // Operations between begin() and commit() are one commit; outside a
    // group every operation is its own.
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void add(const Item& item) = 0;
    virtual void remove(const Item& item) = 0;
    // Loads the whole record; false when the key is not stored.
    virtual bool find(const Item& item) = 0;
};

std::unique_ptr<Engine> openStore(const std::filesystem::path& dir);

enum class SqliteMode { RollbackFull, WalNormal };
std::unique_ptr<Engine> openSqlite(const std::filesystem::path& dir, SqliteMode mode);

} // namespace bench
