#include "base/errors.h"
#include "platform/guard.h"
#include "platform/services_scripted.h"
#include "qt_print.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace telvara {
namespace {

TEST(ErrorBoxText, AppendsAPeriodOnlyAfterCharactersSortingAfterIt) {
    EXPECT_EQ(errorBoxText("abc"), QStringLiteral("abc."));
    EXPECT_EQ(errorBoxText("what?"), QStringLiteral("what?."));                       // 0x3F
    EXPECT_EQ(errorBoxText("ends with slash/"), QStringLiteral("ends with slash/.")); // 0x2F
    EXPECT_EQ(errorBoxText("done."), QStringLiteral("done."));
    EXPECT_EQ(errorBoxText("wow!"), QStringLiteral("wow!"));     // 0x21
    EXPECT_EQ(errorBoxText("minus-"), QStringLiteral("minus-")); // 0x2D
    EXPECT_EQ(errorBoxText("comma,"), QStringLiteral("comma,")); // 0x2C
    EXPECT_EQ(errorBoxText("'12a' は浮動小数点数ではありません"),
              QStringLiteral("'12a' は浮動小数点数ではありません."));
    EXPECT_EQ(errorBoxText("見つかりません？"), QStringLiteral("見つかりません？."));
    EXPECT_EQ(errorBoxText("半角ｶﾅ"), QStringLiteral("半角ｶﾅ.")); // one-byte 0xC5
    EXPECT_EQ(errorBoxText(""), QString());
}

TEST(ErrorBoxText, CharactersWithoutCp932FormStillGetThePeriod) {
    EXPECT_EQ(errorBoxText("emoji 😀"), QStringLiteral("emoji 😀."));
}

TEST(RunGuarded, ReportsAnyFailureInTheErrorBoxAndReturns) {
    ScriptedMessages messages;
    EXPECT_FALSE(runGuarded(messages, [] { throw IoError("ZuboK.dat に書き込めません"); }));
    EXPECT_FALSE(runGuarded(messages, [] { throw std::runtime_error("stopped!"); }));
    EXPECT_FALSE(runGuarded(messages, [] { throw 42; }));
    ASSERT_EQ(messages.asked.size(), 3u);
    for (const AskedBox& box : messages.asked) {
        EXPECT_EQ(box.kind, BoxKind::Error);
        EXPECT_EQ(box.title, QStringLiteral("Telvara"));
    }
    EXPECT_EQ(messages.asked[0].text, QStringLiteral("ZuboK.dat に書き込めません."));
    EXPECT_EQ(messages.asked[1].text, QStringLiteral("stopped!"));
    EXPECT_FALSE(messages.asked[2].text.isEmpty());
}

TEST(RunGuarded, AHandlerThatSucceedsShowsNothing) {
    ScriptedMessages messages;
    int runs = 0;
    EXPECT_TRUE(runGuarded(messages, [&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(messages.asked.empty());
}

TEST(RunGuarded, TheGuardedSlotStopsTheHandlerAtTheFailure) {
    ScriptedMessages messages;
    int reached = 0;
    auto slot = guarded(messages, [&](int value) {
        reached = value;
        throw ConvertError("'x' は浮動小数点数ではありません");
        reached = -1;
    });
    slot(7);
    EXPECT_EQ(reached, 7);
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(messages.asked[0].text, QStringLiteral("'x' は浮動小数点数ではありません."));
}

} // namespace
} // namespace telvara
