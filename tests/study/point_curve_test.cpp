// Devices by points: the time at a current, the lines a pair takes, the
// checks of typed points and the table read from a file or a spreadsheet.
#include "study/point_curve.h"

#include "base/errors.h"

#include <gtest/gtest.h>

namespace telvara {
namespace {

TEST(PointCurve, TimeAtCurrentBetweenAndBeyondThePoints) {
    // 10 s at 100 A to 0.1 s at 1000 A: t = 10 (100 / I)², so 1 s at 316.23 A.
    const std::vector<CurvePoint> line{{100, 10}, {1000, 0.1}, {4000, 0.01}};
    EXPECT_FALSE(operatingTimeAt(line, 99.99));
    EXPECT_DOUBLE_EQ(10, *operatingTimeAt(line, 100));
    EXPECT_NEAR(1, *operatingTimeAt(line, 316.227766017), 1e-9);
    // 1000 → 4000 A falls a decade over two octaves: 0.1 (1000 / I)^(log 10 / log 4).
    EXPECT_NEAR(0.1 * std::pow(0.5, std::log(10.0) / std::log(4.0)), *operatingTimeAt(line, 2000),
                1e-12);
    EXPECT_DOUBLE_EQ(0.01, *operatingTimeAt(line, 1e6));
    // A damage line gives nothing beyond its end.
    EXPECT_DOUBLE_EQ(0.01, *damageTimeAt(line, 4000));
    EXPECT_FALSE(damageTimeAt(line, 4000.01));
    EXPECT_FALSE(damageTimeAt(line, 99));

    const PointDeviceData both{"100A", {{200, 10}, {2000, 0.01}}, {{300, 10}, {3000, 0.01}}};
    EXPECT_EQ(both.totalCurve, downstreamLine(both));
    EXPECT_EQ(both.minCurve, upstreamLine(both));
    const PointDeviceData totalOnly{"", {}, {{300, 10}, {3000, 0.01}}};
    EXPECT_EQ(totalOnly.totalCurve, upstreamLine(totalOnly));
    const auto curves = pointDeviceCurves(both);
    ASSERT_EQ(2u, curves.size());
    EXPECT_EQ(CurveRole::MinimumMelting, curves[0].role);
    EXPECT_EQ(CurveRole::TotalClearing, curves[1].role);
}

TEST(PointCurve, TypedPointsAreChecked) {
    const auto fault = [](const PointDeviceData& d, PointKind kind) {
        const auto f = pointDeviceFault(d, kind);
        return f ? f->key + ": " + f->message : std::string("sound");
    };
    EXPECT_EQ("sound", fault({"", {{100, 10}, {200, 10}, {300, 1}}, {}}, PointKind::Fuse));
    EXPECT_EQ("min_curve: 最小溶断特性か全遮断特性の点を入力してください",
              fault({}, PointKind::Fuse));
    EXPECT_EQ("total_curve: 最大特性は 2 点以上にしてください",
              fault({"", {}, {{100, 1}}}, PointKind::Breaker));
    EXPECT_EQ("total_curve: 全遮断特性の 3 点目: 電流は前の点より大きくしてください",
              fault({"", {}, {{100, 10}, {200, 5}, {200, 1}}}, PointKind::Fuse));
    EXPECT_EQ("min_curve: 最小特性の 2 点目: 時間は前の点より大きくできません",
              fault({"", {{100, 10}, {200, 11}}, {}}, PointKind::Device));
    EXPECT_EQ("min_curve: 最小溶断特性の 1 点目: 電流と時間は 0 より大きい数値にしてください",
              fault({"", {{0, 10}, {200, 1}}, {}}, PointKind::Fuse));
}

TEST(PointCurve, TableFromFileOrSpreadsheet) {
    // A heading, a BOM, CRLF, tags and untagged lines, blank lines.
    const PointTable t = readPointTable("\xEF\xBB\xBF電流,時間,曲線\r\n100,10,min\r\n\r\n1000 , "
                                        "0.01 ,min\r\n150,20\r\n1500,0.02,total\r\n",
                                        CurveRole::TotalClearing);
    EXPECT_EQ((std::vector<CurvePoint>{{100, 10}, {1000, 0.01}}), t.minCurve);
    EXPECT_EQ((std::vector<CurvePoint>{{150, 20}, {1500, 0.02}}), t.totalCurve);

    // A spreadsheet's copy: tab-separated, the locale's decimal comma.
    const PointTable pasted =
        readPointTable("100\t2,5\n1000\t0,05\n", CurveRole::MinimumMelting, {",", "."});
    EXPECT_EQ((std::vector<CurvePoint>{{100, 2.5}, {1000, 0.05}}), pasted.minCurve);
    EXPECT_TRUE(pasted.totalCurve.empty());

    const auto fault = [](std::string_view text) {
        try {
            readPointTable(text, CurveRole::TotalClearing);
        } catch (const TelvaraError& e) {
            return std::string(e.what());
        }
        return std::string("no fault");
    };
    EXPECT_EQ("3 行目: '0.O1' は浮動小数点数ではありません", fault("I,t\n100,10\n1000,0.O1\n"));
    EXPECT_EQ("1 行目: 電流と時間の 2 列 (と min か total) にしてください", fault("100\n"));
    EXPECT_EQ("2 行目: 3 列目は min か total にしてください", fault("100,1\n200,0.5,max\n"));
    // Only the first line may be a heading.
    EXPECT_EQ("2 行目: 'I' は浮動小数点数ではありません", fault("100,1\nI,t\n"));

    // Written for the library and read back.
    const PointDeviceData d{"", {{100, 10}, {1000, 0.015}}, {{150, 20}, {1500, 0.025}}};
    EXPECT_EQ("100,10,min\n1000,0.015,min\n150,20,total\n1500,0.025,total\n", writePointTable(d));
    const PointTable back = readPointTable(writePointTable(d), CurveRole::MinimumMelting);
    EXPECT_EQ(d.minCurve, back.minCurve);
    EXPECT_EQ(d.totalCurve, back.totalCurve);
}

} // namespace
} // namespace telvara
