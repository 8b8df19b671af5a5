#include "relay/characteristics.h"

#include "base/errors.h"

#include <gtest/gtest.h>

using namespace telvara;

using Texts = std::array<std::string, 6>;

// Expected texts computed by hand from the published constants.
TEST(Characteristics, SixTimesOfEachCurve) {
    EXPECT_EQ(characteristicTimeTexts(Characteristic::IecSI, 0.1),
              (Texts{"1.719", "1.003", "0.63", "0.498", "0.428", "0.353"}));
    EXPECT_EQ(characteristicTimeTexts(Characteristic::IecSI, 0.05)[0], "0.86");
    EXPECT_EQ(characteristicTimeTexts(Characteristic::IecVI, 0.1),
              (Texts{"2.7", "1.35", "0.675", "0.45", "0.338", "0.225"}));
    EXPECT_EQ(characteristicTimeTexts(Characteristic::IecEI, 1),
              (Texts{"64", "26.67", "10", "5.333", "3.333", "1.667"}));
    EXPECT_EQ(characteristicTimeTexts(Characteristic::IecLTI, 1),
              (Texts{"240", "120", "60", "40", "30", "20"}));
    EXPECT_EQ(characteristicTimeTexts(Characteristic::IeeeMI, 1),
              (Texts{"6.439", "3.803", "2.432", "1.946", "1.688", "1.412"}));
    EXPECT_EQ(characteristicTimeTexts(Characteristic::IeeeVI, 1),
              (Texts{"16.18", "7.028", "2.942", "1.798", "1.308", "0.9"}));
    EXPECT_EQ(characteristicTimeTexts(Characteristic::IeeeEI, 0.1),
              (Texts{"2.268", "0.952", "0.365", "0.2", "0.13", "0.071"}));
    EXPECT_EQ(characteristicByName("IEEE-EI"), Characteristic::IeeeEI);
    EXPECT_EQ(characteristicByName("IEC-LTI"), Characteristic::IecLTI);
    EXPECT_EQ(characteristicByName("iec-si"), std::nullopt);
}

TEST(Characteristics, FiveCharacterTimeText) {
    EXPECT_EQ(timeFieldText(17.18781, "150%"), "17.19");
    EXPECT_EQ(timeFieldText(0.85970, "150%"), "0.86");
    EXPECT_EQ(timeFieldText(0.014, "150%"), "0.014");
    EXPECT_EQ(timeFieldText(240, "150%"), "240");
    EXPECT_EQ(timeFieldText(1.0005, "150%"), "1.001"); // held just below the half
    EXPECT_EQ(timeFieldText(0.0005, "150%"), "0.001");
    EXPECT_EQ(timeFieldText(9.9996, "150%"), "10");
    EXPECT_EQ(timeFieldText(123.45, "150%"), "123.5");
    EXPECT_EQ(timeFieldText(1234.5, "150%"), "1235");
    EXPECT_EQ(timeFieldText(99999.4, "150%"), "99999");
    EXPECT_EQ(timeFieldText(0, "150%"), "0");
}

TEST(Characteristics, RefusalsNameTheField) {
    auto message = [](auto&& f) -> std::string {
        try {
            f();
        } catch (const TelvaraError& e) {
            return e.what();
        }
        return "no refusal";
    };
    const std::string tooLong = "の動作時間が 100000 秒以上になり、5 文字に収まりません。";
    const std::string asZero =
        "の動作時間が 0.0005 秒未満になり、0 と書かれてしまいます（0 は点なしの意味です）。";
    const std::string badMultiplier = "倍率は 0 より大きい数にしてください。";
    EXPECT_EQ(message([] { timeFieldText(99999.5, "700%"); }), "700%" + tooLong);
    EXPECT_EQ(message([] { timeFieldText(0.000499, "200%"); }), "200%" + asZero);
    EXPECT_EQ(message([] { characteristicTimeTexts(Characteristic::IecLTI, 500); }),
              "150%" + tooLong);
    EXPECT_EQ(message([] { characteristicTimeTexts(Characteristic::IecSI, 1e-4); }),
              "400%" + asZero);
    EXPECT_EQ(message([] { characteristicTimeTexts(Characteristic::IecSI, 0); }), badMultiplier);
    EXPECT_EQ(message([] { characteristicTimeTexts(Characteristic::IecSI, -0.1); }), badMultiplier);
    EXPECT_EQ(message([] { scaledTimeTexts({"1", "1", "1", "1", "1", "1"}, 0); }), badMultiplier);
    EXPECT_EQ(message([] {
                  scaledTimeTexts({"1", "-1", "1", "1", "1", "1"}, 2);
              }),
              "200%の動作時間が負の値になります。");
    EXPECT_EQ(message([] {
                  scaledTimeTexts({"1", "1", "x", "1", "1", "1"}, 2);
              }),
              "'x' は浮動小数点数ではありません");
}

TEST(Characteristics, ScalingTypedTimesByLeverRatio) {
    // Lever 10 to 4: every time x 0.4; a time of 0 stays no point.
    EXPECT_EQ(scaledTimeTexts({"2.5", "1.25", "0", " 0.6", "0.033", "17.19"}, 4.0 / 10.0),
              (Texts{"1", "0.5", "0", "0.24", "0.013", "6.876"}));
}
