#include "relay/record_check.h"

#include <gtest/gtest.h>

using namespace telvara;

namespace {

RecordTexts sound() {
    return {"関西電力", "51R", "400", "0.9", "0.6", "0.4", "0.3", "0.25", "0.2", ".0125", "5", "5"};
}

} // namespace

TEST(RecordCheck, TextsThatDoNotFitAreNamedWithWhatFits) {
    EXPECT_TRUE(checkRecord(sound()).empty());
    RecordTexts r = sound();
    r[std::size_t(TRecordField::Tap)] = "2.5";
    r[std::size_t(TRecordField::CTPrimary)] = "10000";
    r[std::size_t(TRecordField::KaisyaName)] = "A" + std::string(18 * 3, '\0');
    for (int i = 0; i < 18; ++i)
        r[0].replace(1 + 3 * i, 3, "電");
    const std::vector<FieldProblem> problems = checkRecord(r);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0], (FieldProblem{TRecordField::KaisyaName,
                                         "会社名に入るのは 36 バイト（全角 18 文字）までです。"
                                         "入力は 37 バイトです。"}));
    EXPECT_EQ(problems[1].message, "CT比に入るのは 4 バイト（半角 4 文字）までです：「10000」");
    EXPECT_EQ(problems[2].message, "タップに入るのは 2 バイト（半角 2 文字）までです：「2.5」");
    // Exactly full fits: 18 full-width characters, a 5-byte time.
    EXPECT_EQ(checkField(TRecordField::KaisyaName, r[0].substr(1)), "");
    EXPECT_EQ(checkField(TRecordField::TimeInst, "0.012"), "");
    EXPECT_EQ(checkField(TRecordField::DebaisuNo, "51R☃"),
              "ﾃﾞﾊﾞｲｽNo.に Shift-JIS で表せない文字が含まれています：「☃」");
}

TEST(RecordCheck, NumbersMustBeDrawableAndNamesPlain) {
    EXPECT_EQ(checkField(TRecordField::CTPrimary, "abc"),
              "CT比には 0 より大きい数を入れてください：「abc」");
    EXPECT_NE(checkField(TRecordField::CTPrimary, "0"), "");
    for (const char* bad : {"-1", "nan", "inf", "1e400", "", "1e"})
        EXPECT_EQ(
            checkField(TRecordField::Time150, bad),
            std::string("150%の時間には 0（点を描かない）か 0 より大きい数を入れてください：「") +
                bad + "」")
            << bad;
    EXPECT_EQ(checkField(TRecordField::TimeInst, "-.03"),
              "INSTの時間には 0（点を描かない）か 0 より大きい数を入れてください：「-.03」");
    EXPECT_EQ(checkField(TRecordField::InstTap, "-1"),
              "INSTタップには 0 以上の数を入れてください：「-1」");
    EXPECT_EQ(checkField(TRecordField::Tap, "0"), "");
    EXPECT_EQ(checkField(TRecordField::Time700, "0"), "");
    EXPECT_EQ(checkField(TRecordField::KaisyaName, ""), "会社名の入力がありません？");
    EXPECT_EQ(checkField(TRecordField::DebaisuNo, ""), "ﾃﾞﾊﾞｲｽNo. の入力がありません？");
    for (const std::string& bad :
         {std::string("A\tB"), std::string("A\nB"), std::string("A\rB"), std::string("A\0B", 3)})
        EXPECT_EQ(checkField(TRecordField::KaisyaName, bad),
                  "会社名にタブ、改行、NUL 文字は使えません。");
}

// Ill-formed UTF-8 is named by field and shown as bytes; a comma would be
// taken for the key's own separator.
TEST(RecordCheck, IllFormedUtf8AndCommasInNamesAreRefused) {
    EXPECT_EQ(checkField(TRecordField::KaisyaName, "A\xC0\x80"),
              "会社名に UTF-8 として正しくないバイト列が含まれています：C0 80");
    EXPECT_EQ(checkField(TRecordField::DebaisuNo, "\xED\xA0\x80"),
              "ﾃﾞﾊﾞｲｽNo.に UTF-8 として正しくないバイト列が含まれています：ED A0 80");
    EXPECT_EQ(checkField(TRecordField::CTPrimary, "1\xF4\x90\x80\x80"),
              "CT比に UTF-8 として正しくないバイト列が含まれています：F4 90 80 80");
    EXPECT_EQ(checkField(TRecordField::KaisyaName, "East,West"),
              "会社名に半角のカンマ「,」は使えません。");
    EXPECT_EQ(checkField(TRecordField::DebaisuNo, "51,"),
              "ﾃﾞﾊﾞｲｽNo.に半角のカンマ「,」は使えません。");
    EXPECT_EQ(checkField(TRecordField::KaisyaName, "East，West"), ""); // full-width
}

TEST(RecordCheck, NewKeyMustFitATreePageSlot) {
    // 14 full-width characters and 18 bytes: 47 bytes with the comma.
    EXPECT_EQ(checkNewKey("関西電力株式会社南大阪変電所", "51R-FEEDER-01-MAIN"),
              "会社名とﾃﾞﾊﾞｲｽNo. は合わせて 40 バイト（全角 20 文字）までです。入力は 46 "
              "バイトです。");
    EXPECT_EQ(checkNewKey("関西電力株式会社南大阪変電所", "51R-FEEDER-0"), ""); // 41 bytes
    EXPECT_NE(checkNewKey("関西電力株式会社南大阪変電所", "51R-FEEDER-01"), "");
}
