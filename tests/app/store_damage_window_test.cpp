// The main window on a store it cannot open or finds damaged.
#include "store_fixture.h"

#include <QFile>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace telvara::test {
namespace {

using FileBytes = std::string;

FileBytes bytesOf(const QString& path) {
    std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
    return FileBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets or clears a file's immutable flag, which keeps even root from writing
// it, as read-only media would; false where the file system or user cannot.
bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

class DamagedStoreWindowTest : public MeinFormTest {
protected:
    void TearDown() override { form.reset(); }
    QTemporaryDir unopenable, damaged;
};

TEST_F(DamagedStoreWindowTest, UnopenableFolderIsAskedAgainAndADamagedStoreOnlyReads) {
    std::ofstream(QFile::encodeName(unopenable.filePath("ZuboK.dat")).toStdString()) << "short";
    std::ofstream(QFile::encodeName(unopenable.filePath("ZuboK.idx")).toStdString());
    {
        TBPlusTree store;
        store.OpenStore(damaged.path().toStdString());
        for (const char* name : {"A", "B", "C"}) {
            for (int f = 2; f < kRecordFieldCount; ++f)
                store.CurrentRecord().setField(TRecordField(f), "1");
            store.CurrentRecord().setField(TRecordField::KaisyaName, name);
            store.CurrentRecord().setField(TRecordField::DebaisuNo, "51R");
            store.InsertCurrent();
        }
    }
    // RecordsInUse (header bytes 8..11) says 2 where the tree holds 3.
    {
        std::fstream f(QFile::encodeName(damaged.filePath("ZuboK.dat")).toStdString(),
                       std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(8);
        f.put(2);
    }
    const FileBytes dat = bytesOf(damaged.filePath("ZuboK.dat"));
    const FileBytes idx = bytesOf(damaged.filePath("ZuboK.idx"));

    scripted.directories.answers = {unopenable.path(), damaged.path()};
    form = std::make_unique<TMeinForm>(scripted.services());
    EXPECT_FALSE(form->terminationRequested());
    EXPECT_EQ(scripted.directories.asked.size(), 2u);
    const QString refusal = QStringLiteral("ファイル ") + damaged.path() +
                            QStringLiteral("/ZuboK.dat が壊れています（RecordsInUse 2 "
                                           "ですが、木のレコードは 3 件です）");
    EXPECT_EQ(scripted.messages.texts(),
              (std::vector<QString>{
                  QStringLiteral("ファイル ") + unopenable.path() +
                      QStringLiteral("/ZuboK.dat が壊れています（ヘッダーが 1024 バイトに足りませ"
                                     "ん）\nデーターフォルダを選び直してください。"),
                  refusal + QStringLiteral("\n読み取り専用で開きます（Add とﾚｺｰﾄﾞ削除はできませ"
                                           "ん）。")}));
    form->show();
    scripted.messages.asked.clear();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("保護協調曲線 [読み取り専用]"));
    // Only the folder whose store opened is where the next start begins.
    EXPECT_EQ(scripted.directories.remembered, std::vector<QString>{damaged.path()});

    // Reading works: the search loads B.
    edit("SearchKaisyaName")->setText("B");
    edit("SearchDebisuNo")->setText("51R");
    button("CmdSearch")->click();
    EXPECT_EQ(edit("kaisya")->text(), "B");
    EXPECT_TRUE(scripted.messages.asked.empty());

    // Add (a new relay, and a stored one) and Remove are refused with the
    // reason before any question, and nothing is written.
    edit("kaisya")->setText("D");
    button("CmdAdd")->click();
    EXPECT_TRUE(form->loadRecord("B", "51R"));
    button("CmdAdd")->click();
    button("CmdRemove")->click();
    std::vector<QString> errors;
    for (const AskedBox& box : scripted.messages.asked) {
        EXPECT_EQ(box.kind, BoxKind::Error) << box.text.toStdString();
        errors.push_back(box.text);
    }
    EXPECT_EQ(errors, (std::vector<QString>{refusal + ".", refusal + ".", refusal + "."}));
    EXPECT_EQ(bytesOf(damaged.filePath("ZuboK.dat")), dat);
    EXPECT_EQ(bytesOf(damaged.filePath("ZuboK.idx")), idx);
}

TEST_F(DamagedStoreWindowTest, AStoreThatCannotBeWrittenOpensForReading) {
    {
        TBPlusTree store;
        store.OpenStore(damaged.path().toStdString());
        for (int f = 2; f < kRecordFieldCount; ++f)
            store.CurrentRecord().setField(TRecordField(f), "1");
        store.CurrentRecord().setField(TRecordField::KaisyaName, "A");
        store.CurrentRecord().setField(TRecordField::DebaisuNo, "51R");
        store.InsertCurrent();
    }
    const QString dat = damaged.filePath("ZuboK.dat");
    struct Thaw {
        QString file;
        ~Thaw() { setImmutable(file, false); }
    } thaw{dat};
    if (!setImmutable(dat, true))
        GTEST_SKIP() << "the immutable flag needs root on a file system that has it";
    const FileBytes before = bytesOf(dat);

    scripted.directories.answers = {damaged.path()};
    form = std::make_unique<TMeinForm>(scripted.services());
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_TRUE(scripted.messages.asked[0].text.startsWith(QStringLiteral("ファイル ") + dat))
        << scripted.messages.asked[0].text.toStdString();
    EXPECT_TRUE(scripted.messages.asked[0].text.endsWith(
        QStringLiteral("\n読み取り専用で開きます（Add とﾚｺｰﾄﾞ削除はできません）。")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("保護協調曲線 [読み取り専用]"));
    scripted.messages.asked.clear();

    EXPECT_TRUE(form->loadRecord("A", "51R"));
    button("CmdAdd")->click();
    ASSERT_EQ(scripted.messages.asked.size(), 1u);
    EXPECT_EQ(scripted.messages.asked[0].kind, BoxKind::Error);
    EXPECT_EQ(scripted.messages.asked[0].text,
              QStringLiteral("ストア ") + damaged.path() +
                  QStringLiteral("/ は読み取り専用で開かれているので変更できません."));
    EXPECT_EQ(bytesOf(dat), before);
}

// The damage names keys as the list shows them: 第一変電所 decoded from its
// CP932 bytes, a lone lead byte (93) as its stand-in character.
TEST_F(DamagedStoreWindowTest, DamageMessageShowsKeysDecoded) {
    {
        TBPlusTree store;
        store.OpenStore(damaged.path().toStdString());
        for (int f = 2; f < kRecordFieldCount; ++f)
            store.CurrentRecord().setField(TRecordField(f), "1");
        store.CurrentRecord().setField(TRecordField::KaisyaName,
                                       "\x91\xE6\x88\xEA\x95\xCF\x93\x64\x8F\x8A");
        store.CurrentRecord().setField(TRecordField::DebaisuNo, "51M");
        store.InsertCurrent();
    }
    const QString idx = damaged.filePath("ZuboK.idx");
    FileBytes bytes = bytesOf(idx);
    const std::size_t at = bytes.find(std::string("\x03"
                                                  "51M",
                                                  4));
    ASSERT_NE(at, FileBytes::npos);
    bytes[at + 3] = '\x93';
    std::ofstream(QFile::encodeName(idx).toStdString(), std::ios::binary) << bytes;

    scripted.directories.answers = {damaged.path()};
    form = std::make_unique<TMeinForm>(scripted.services());
    EXPECT_EQ(scripted.messages.texts(),
              std::vector<QString>{QStringLiteral("ファイル ") + idx +
                                   QStringLiteral(" が壊れています（ページ 1 のレコード番号 0 の"
                                                  "レコードのキー「第一変電所,51\uF793」がキー"
                                                  "「第一変電所,51M」と違います）\n読み取り専用で"
                                                  "開きます（Add とﾚｺｰﾄﾞ削除はできません）。")});
}

} // namespace
} // namespace telvara::test
