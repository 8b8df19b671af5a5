// Long randomized runs of insert, add, delete and find against an in-memory
// model, with every rule of the files checked after every step.
#include "store_test_util.h"

#include <gtest/gtest.h>
#include <map>
#include <random>

namespace telvara::test {
namespace {

class ModelRun {
public:
    // `nameCount` names times 7 device numbers make the key space.
    ModelRun(unsigned seed, const TempDir& dir, int nameCount = 700) : rng_(seed), dir_(dir) {
        store_.OpenStore(dir.str());
        const char* prefixes[] = {"C", "\x93\x64\x97\xcd", "A\x93\x64", "Feeder-", "z"};
        for (int i = 0; i < nameCount; ++i) {
            std::string name = prefixes[i % 5] + std::to_string(i * 37 % 1000);
            if (i % 23 == 0)
                name += std::string(30, 'L'); // longer than the name field
            names_.push_back(name);
        }
        devices_ = {"51R", "51", "67", "51G", "50/51", "64", std::string(32, 'D') + "x"};
    }

    // Runs `steps` operations; `growth` is the share of operations that store a record.
    void run(int steps, double growth) {
        for (int step = 0; step < steps; ++step) {
            oneStep(growth);
            ++stepCount_;
            ASSERT_EQ(problems(dir_.str()), "") << "after step " << stepCount_;
            ASSERT_EQ(store_.header().RecordsInUse, size_) << "after step " << stepCount_;
            maxHeight_ = std::max(maxHeight_, store_.Height());
            if (stepCount_ % 250 == 0)
                compareAll();
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
    // Deletes until the store is empty.
    void drain() {
        while (size_ > 0 && !::testing::Test::HasFatalFailure())
            run(1, 0.0);
        EXPECT_EQ(store_.Height(), 0);
    }
    void reopen() {
        store_.CloseStore();
        store_.OpenStore(dir_.str());
    }
    int maxHeight() const { return maxHeight_; }
    int size() const { return size_; }

    void compareAll() {
        std::vector<std::string> expectedLines;
        for (const auto& [key, records] : model_) {
            for (std::size_t i = 0; i < records.size(); ++i)
                expectedLines.push_back(key);
            ASSERT_TRUE(store_.FindKey(key)) << bracket(key);
            EXPECT_EQ(fieldsOf(store_.CurrentRecord()), records.back());
        }
        if (size_ == 0)
            return;
        const std::string list = store_.ListKeys();
        std::size_t pos = 0;
        for (std::size_t line = 0; line < expectedLines.size() && line <= 500; ++line) {
            const std::size_t end = list.find("\r\n", pos);
            ASSERT_NE(end, std::string::npos);
            const std::string text = list.substr(pos, end - pos);
            EXPECT_EQ(text.substr(text.find_first_not_of(' ')), expectedLines[line]);
            pos = end + 2;
        }
    }

private:
    static std::string bracket(const std::string& s) { return "[" + s + "]"; }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    std::pair<std::string, std::string> randomPair() {
        return {names_[std::size_t(pick(int(names_.size())))],
                devices_[std::size_t(pick(int(devices_.size())))]};
    }
    // A name and device of a stored record (as its fields hold them).
    std::pair<std::string, std::string> storedPair() {
        auto it = model_.begin();
        std::advance(it, pick(int(model_.size())));
        const Fields& f = it->second.back();
        return {f[0], f[1]};
    }
    static std::string keyOf(const std::string& name, const std::string& device) {
        return std::string(slotKey(recordKey(name, device)));
    }
    Fields stored(const std::string& name, const std::string& device) {
        TRelayRecord r;
        setFields(r, fieldsFor(name, device, pick(10)));
        return fieldsOf(r);
    }

    void oneStep(double growth) {
        const double roll = std::uniform_real_distribution<double>(0, 1)(rng_);
        const double rest = (1 - growth) / 2;
        if (roll < growth) {
            const auto [name, device] = randomPair();
            if (pick(3) == 0)
                insert(name, device);
            else
                add(name, device);
        } else if (roll < growth + rest && size_ > 0) {
            const auto [name, device] = pick(8) == 0 ? randomPair() : storedPair();
            remove(name, device);
        } else {
            const auto [name, device] = size_ > 0 && pick(2) == 0 ? storedPair() : randomPair();
            find(name, device);
        }
    }

    void insert(const std::string& name, const std::string& device) {
        const Fields f = stored(name, device);
        setFields(store_.CurrentRecord(), f);
        store_.InsertCurrent();
        ASSERT_GE(store_.CurrentRecNo(), 0);
        model_[keyOf(name, device)].push_back(f);
        ++size_;
    }

    void add(const std::string& name, const std::string& device) {
        const std::string key = keyOf(name, device);
        auto it = model_.find(key);
        const bool present = it != model_.end();
        ASSERT_EQ(store_.FindKey(recordKey(name, device)), present) << bracket(key);
        if (present) {
            ASSERT_EQ(fieldsOf(store_.CurrentRecord()), it->second.back());
            store_.DeleteCurrent();
            popBack(key);
        }
        insert(name, device);
    }

    void remove(const std::string& name, const std::string& device) {
        const std::string key = keyOf(name, device);
        auto it = model_.find(key);
        const bool present = it != model_.end();
        const Fields expected = present ? it->second.back() : Fields{};
        deleteRecord(store_, name, device);
        ASSERT_EQ(store_.CurrentRecNo(), -1);
        if (present) {
            ASSERT_EQ(fieldsOf(store_.CurrentRecord()), expected) << bracket(key);
            popBack(key);
        }
    }

    void find(const std::string& name, const std::string& device) {
        const std::string key = keyOf(name, device);
        auto it = model_.find(key);
        const bool present = it != model_.end();
        ASSERT_EQ(store_.FindKey(recordKey(name, device)), present) << bracket(key);
        if (present) {
            EXPECT_GE(store_.CurrentRecNo(), 0);
            ASSERT_EQ(fieldsOf(store_.CurrentRecord()), it->second.back());
        } else {
            ASSERT_EQ(store_.CurrentRecNo(), -1);
        }
    }

    void popBack(const std::string& key) {
        auto it = model_.find(key);
        it->second.pop_back();
        if (it->second.empty())
            model_.erase(it);
        --size_;
    }

    std::mt19937 rng_;
    const TempDir& dir_;
    TBPlusTree store_;
    std::vector<std::string> names_;
    std::vector<std::string> devices_;
    std::map<std::string, std::vector<Fields>> model_;
    int size_ = 0;
    int stepCount_ = 0;
    int maxHeight_ = 0;
};

TEST(StoreRandom, GrowShrinkAndRefillAgreeWithTheModel) {
    const unsigned seed = 20240501u;
    SCOPED_TRACE("seed " + std::to_string(seed));
    TempDir dir;
    ModelRun run(seed, dir);
    run.run(750, 0.85); // about 500 records: three levels
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    EXPECT_GE(run.maxHeight(), 3) << run.size() << " records";
    run.run(400, 0.5);
    run.compareAll();
    run.drain();
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    run.run(200, 0.7);
    run.compareAll();
}

TEST(StoreRandom, ManyEqualKeysAgreeWithTheModel) {
    // Few keys and many bare insertions: runs of equal keys span pages.
    const unsigned seed = 7u;
    SCOPED_TRACE("seed " + std::to_string(seed));
    TempDir dir;
    ModelRun run(seed, dir, 6);
    run.run(500, 0.75);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    EXPECT_GE(run.maxHeight(), 2) << run.size() << " records";
    run.compareAll();
    run.drain();
}

TEST(StoreRandom, ReopeningBetweenStepsKeepsEveryRecord) {
    const unsigned seed = 99u;
    SCOPED_TRACE("seed " + std::to_string(seed));
    TempDir dir;
    ModelRun run(seed, dir);
    for (int round = 0; round < 4 && !::testing::Test::HasFatalFailure(); ++round) {
        run.run(150, 0.7);
        run.reopen();
        run.compareAll();
    }
}

} // namespace
} // namespace telvara::test
