// telvara-store: works on a store folder without the program's windows.
// Arguments and standard input are UTF-8; the store holds CP932 bytes.
//
//   telvara-store DIR list
//   telvara-store DIR find NAME DEVICE
//   telvara-store DIR add NAME DEVICE CT T150 T200 T300 T400 T500 T700 TINST TAP INSTTAP
//   telvara-store DIR add-curve NAME DEVICE CT CURVE MULTIPLIER TINST TAP INSTTAP
//   telvara-store DIR remove NAME DEVICE
//   telvara-store DIR check
//   telvara-store DIR batch          (operations from standard input, one per line)
//   telvara-store DIR export FILE.csv
//   telvara-store DIR import FILE.csv [--replace]
//
// Exit status: 0 done, 1 no such record or an unsound store, 2 anything refused or failed.
// A damaged store is never written; list, find and a batch of lookups print
// what they could read and then the damage on standard error, with status 1.
#include "base/cp932.h"
#include "base/errors.h"
#include "base/os/program.h"
#include "relay/record_check.h"
#include "store/bplustree.h"
#include "store/find_relay.h"
#include "store/store_check.h"
#include "tools/add_curve.h"
#include "tools/bounded_line.h"
#include "tools/store_csv.h"
#include "tools/store_folder.h"
#include "tools/tool_status.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace telvara;

const char kUsage[] =
    "使い方: telvara-store DIR list | find NAME DEVICE | add NAME DEVICE CT T150 T200 T300 "
    "T400 T500 T700 TINST TAP INSTTAP | remove NAME DEVICE | check | batch | export FILE.csv | "
    "import FILE.csv [--replace]\n"
    "       telvara-store DIR add-curve NAME DEVICE CT CURVE MULTIPLIER TINST TAP INSTTAP\n"
    "       CURVE: IEC-SI IEC-VI IEC-EI (IEC 60255-151), IEC-LTI (IEC 60255-3 / BS 142),\n"
    "              IEEE-MI IEEE-VI IEEE-EI (IEEE C37.112)\n";

std::vector<std::string> toStore(const std::vector<std::string>& utf8) {
    std::vector<std::string> out;
    for (const auto& s : utf8)
        out.push_back(utf8ToCp932(s));
    return out;
}

// A name and device to look up, refused by field when they cannot be stored
// text (ill-formed UTF-8, no Shift-JIS form).
std::vector<std::string> keyToStore(const std::vector<std::string>& utf8) {
    for (const TRecordField f : {TRecordField::KaisyaName, TRecordField::DebaisuNo})
        if (const std::string problem = checkEncoding(f, utf8[std::size_t(f)]); !problem.empty())
            throw TUsageError(problem);
    return toStore(utf8);
}

std::string recordLine(const TRelayRecord& r) {
    std::string line;
    for (int f = 0; f < kRecordFieldCount; ++f) {
        if (f > 0)
            line += '\t';
        line += cp932ToUtf8(r.field(TRecordField(f)));
    }
    return line;
}

std::string listing(TBPlusTree& store) {
    store.Refresh();
    if (store.Height() == 0)
        return "< Empty >\r\n";
    std::string text = cp932ToUtf8(store.ListKeys());
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0)
        text += "\r\n";
    return text;
}

// The record stored under the relay's key: the relay's own, or another
// relay's that agrees with it in the key bytes a tree page keeps.
std::optional<TRelayRecord> findKey(TBPlusTree& store, const std::string& name,
                                    const std::string& device) {
    return store.Find(recordKey(name, device));
}

bool isRelay(const std::optional<TRelayRecord>& met, const std::vector<std::string>& key) {
    return met && isRecordOf(*met, key[0], key[1]);
}

// The record of these twelve fields (CP932), each cut to its capacity.
TRelayRecord recordOf(const std::vector<std::string>& fields) {
    TRelayRecord record;
    for (int f = 0; f < kRecordFieldCount; ++f)
        record.setField(TRecordField(f), fields[std::size_t(f)]);
    return record;
}

// A relay is stored only as typed: the first refused field ends the command
// before the store is touched.
void requireSound(const std::vector<std::string>& utf8Fields) {
    RecordTexts texts;
    std::copy(utf8Fields.begin(), utf8Fields.end(), texts.begin());
    if (const auto problems = checkRecord(texts); !problems.empty())
        throw TUsageError(problems.front().message);
}

// The record a lookup met under the same cut key, when it is another relay.
std::string otherRelay(const TRelayRecord& met) {
    return "別のレコード " + cp932ToUtf8(met.key());
}

// `met`: what a lookup of the new relay's key found, which is another relay.
void requireNewKey(const std::optional<TRelayRecord>& met,
                   const std::vector<std::string>& utf8Fields) {
    if (const std::string problem = checkNewKey(utf8Fields[0], utf8Fields[1]); !problem.empty())
        throw TUsageError(problem);
    if (met)
        throw TUsageError(otherRelay(*met) + " とキーの先頭 " + std::to_string(kKeySlotCapacity) +
                          " バイトが同じです");
}

// The main window's Add once its overwrite question is answered yes: the
// replacement is one operation, so the old record never goes alone. The
// fields have passed requireSound.
std::int32_t add(TBPlusTree& store, const std::vector<std::string>& fields,
                 const std::vector<std::string>& utf8Fields) {
    TStoreTransaction transaction(store);
    const std::optional<TRelayRecord> met = findKey(store, fields[0], fields[1]);
    if (isRelay(met, fields))
        store.Remove(met->key());
    else
        requireNewKey(met, utf8Fields);
    const std::int32_t slot = store.Insert(recordOf(fields));
    transaction.commit();
    return slot;
}

std::int32_t insert(TBPlusTree& store, const std::vector<std::string>& fields,
                    const std::vector<std::string>& utf8Fields) {
    if (const std::string problem = checkNewKey(utf8Fields[0], utf8Fields[1]); !problem.empty())
        throw TUsageError(problem);
    return store.Insert(recordOf(fields));
}

// Reading commands read what they can from a damaged store, but never quietly.
int warnIfDamaged(TBPlusTree& store, int status) {
    const TCheckReport report = store.Verify();
    if (report.sound())
        return status;
    std::cerr << damageMessage(report, store.pageFilePath(), store.recordFilePath()) << "\n";
    return kExitNotFound;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        items.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return items;
        start = tab + 1;
    }
}

void expectItems(const std::vector<std::string>& items, std::size_t n) {
    if (items.size() != n)
        throw TUsageError(items[0] + " には " + std::to_string(n - 1) + " 個の項目が要りますが、" +
                          std::to_string(items.size() - 1) + " 個あります");
}

// One batch line; returns its result text.
std::string batchLine(TBPlusTree& store, const std::vector<std::string>& utf8Items) {
    const std::string& op = utf8Items[0];
    const std::vector<std::string> utf8(utf8Items.begin() + 1, utf8Items.end());
    if (op == "insert" || op == "add") {
        expectItems(utf8Items, 1 + kRecordFieldCount);
        requireSound(utf8); // names the field before any text is converted
        const std::vector<std::string> args = toStore(utf8);
        return std::to_string(op == "insert" ? insert(store, args, utf8) : add(store, args, utf8)) +
               "\n";
    }
    if (op == "find") {
        expectItems(utf8Items, 3);
        const std::vector<std::string> args = keyToStore(utf8);
        const std::optional<TRelayRecord> met = findKey(store, args[0], args[1]);
        if (!isRelay(met, args))
            return "not found\n";
        return "found\t" + recordLine(*met) + "\n";
    }
    if (op == "remove") {
        expectItems(utf8Items, 3);
        const std::vector<std::string> args = keyToStore(utf8);
        const std::optional<TRelayRecord> met = findKey(store, args[0], args[1]);
        if (!isRelay(met, args))
            return "not found\n";
        store.Remove(met->key());
        return "removed\n";
    }
    if (op == "delete") {
        // The main window's removal through the current record: it reports
        // the slot and the key of the record the deletion last read.
        expectItems(utf8Items, 3);
        const std::vector<std::string> args = keyToStore(utf8);
        if (!findRelay(store, args[0], args[1]) && store.CurrentRecNo() != kNone)
            throw TUsageError(otherRelay(store.CurrentRecord()) + " は削除しません");
        store.CurrentRecord().setField(TRecordField::KaisyaName, args[0]);
        store.CurrentRecord().setField(TRecordField::DebaisuNo, args[1]);
        store.DeleteCurrent();
        return std::to_string(store.CurrentRecNo()) + "\t" +
               cp932ToUtf8(store.CurrentRecord().key()) + "\n";
    }
    if (op == "list") {
        expectItems(utf8Items, 1);
        return listing(store);
    }
    throw TUsageError("不明な操作 " + op);
}

int batch(TBPlusTree& store) {
    bool wrote = false; // a write checks the whole store before it writes
    std::string line;
    for (long number = 1;; ++number) {
        const TLineRead read = readBoundedLine(std::cin, line);
        if (read == TLineRead::End)
            break;
        if (read == TLineRead::TooLong) {
            std::cerr << number << " 行目: 行が長すぎます（" << kBatchLineLimit
                      << " バイトまで）\n";
            return kExitFailed;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        try {
            const std::vector<std::string> items = splitTabs(line);
            wrote = wrote || (items[0] != "find" && items[0] != "list");
            std::cout << batchLine(store, items) << std::flush;
        } catch (const TelvaraError& e) {
            std::cerr << number << " 行目: " << e.what() << "\n";
            return kExitFailed;
        }
    }
    return wrote ? 0 : warnIfDamaged(store, 0);
}

int check(const std::string& dir) {
    const TCheckReport report = checkStoreFolder(dir);
    for (const auto& p : report.Problems)
        std::cout << p << "\n";
    if (report.sound())
        std::cout << "問題ありません（高さ " << report.Height << "、レコード " << report.Records
                  << " 件、ページ " << report.Pages << " 個）\n";
    if (!report.Pending.empty())
        std::cout << report.Pending << "。上の結果は、その変更を書き込んだ後のストアのものです\n";
    return report.sound() ? 0 : kExitNotFound;
}

int run(const std::vector<std::string>& argv) {
    if (argv.size() < 2)
        throw TUsageError(kUsage);
    const std::string& dir = argv[0];
    const std::string& cmd = argv[1];
    const std::vector<std::string> rest(argv.begin() + 2, argv.end());
    auto arity = [&](std::size_t n) {
        if (rest.size() != n)
            throw TUsageError(kUsage);
    };
    if (cmd == "check") {
        arity(0);
        return check(dir);
    }
    TBPlusTree store;
    if (cmd == "list") {
        arity(0);
        requireStoreFiles(dir);
        store.OpenStore(dir, TOpenMode::ReadOnly);
        std::cout << listing(store) << std::flush;
        return warnIfDamaged(store, 0);
    }
    if (cmd == "find" || cmd == "remove") {
        arity(2);
        const std::vector<std::string> args = keyToStore(rest);
        requireStoreFiles(dir);
        store.OpenStore(dir, cmd == "find" ? TOpenMode::ReadOnly : TOpenMode::ReadWrite);
        const std::optional<TRelayRecord> met = findKey(store, args[0], args[1]);
        if (!isRelay(met, args)) {
            std::cerr << "見つかりません: " << rest[0] << "," << rest[1] << "\n";
            return cmd == "find" ? warnIfDamaged(store, kExitNotFound) : kExitNotFound;
        }
        if (cmd == "remove") {
            store.Remove(met->key());
            return 0;
        }
        std::cout << recordLine(*met) << "\n" << std::flush;
        return warnIfDamaged(store, 0);
    }
    if (cmd == "add") {
        arity(kRecordFieldCount);
        requireSound(rest);
        const std::vector<std::string> args = toStore(rest);
        store.OpenStore(dir);
        add(store, args, rest);
        return 0;
    }
    if (cmd == "export") {
        arity(1);
        return exportStoreCsv(dir, rest[0]);
    }
    if (cmd == "import" && (rest.size() == 1 || (rest.size() == 2 && rest[1] == "--replace")))
        return importStoreCsv(dir, rest[0], rest.size() == 2);
    if (cmd == "add-curve") {
        // Stored as the add command stores, so it passes the same checks.
        arity(8);
        const std::vector<std::string> fields = curveRecordFields(rest);
        requireSound(fields);
        const std::vector<std::string> args = toStore(fields);
        store.OpenStore(dir);
        add(store, args, fields);
        std::cout << recordLine(recordOf(args)) << "\n";
        return 0;
    }
    if (cmd == "batch") {
        arity(0);
        store.OpenStore(dir);
        return batch(store);
    }
    throw TUsageError(kUsage);
}

} // namespace

int main(int argc, char** argv) {
    os::prepareConsole();
    try {
        return run(os::utf8Arguments(argc, argv));
    } catch (const std::exception& e) {
        return reportFailure(e);
    }
}
