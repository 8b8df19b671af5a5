// Equipment curves against points worked out by hand from the standards' formulas.
#include "study/cable_curve.h"
#include "study/motor_curve.h"
#include "study/transformer_curve.h"

#include <gtest/gtest.h>

#include <cmath>

namespace telvara {
namespace {

void expectPoints(const std::vector<CurvePoint>& expected, const std::vector<CurvePoint>& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_NEAR(expected[k].current, actual[k].current, 1e-9 * expected[k].current) << k;
        EXPECT_NEAR(expected[k].time, actual[k].time, 1e-9 * expected[k].time) << k;
    }
}

// Between (11.3, 10 s) and (25, 2 s) on log paper.
double thermalAbove11(double m) {
    return 10 * std::pow(m / 11.3, std::log(2.0 / 10) / std::log(25 / 11.3));
}

TEST(TransformerCurve, CategoryTwoFrequentFaultsZFivePercent) {
    // 2000 kVA three-phase: category II. I_max = 100 / 5 = 20; the mechanical
    // part from 0.7 x 20 = 14 on, t_m = 2 (20 / I)².
    TransformerData t{.kva = 2000, .kvPrimary = 6.6, .kvSecondary = 0.44, .zPercent = 5};
    EXPECT_EQ(TransformerCategory::II, transformerCategory(t));
    EXPECT_DOUBLE_EQ(20, transformerMaxFaultMultiple(t));
    const std::vector<CurvePoint> multiples{{2, 1800},
                                            {3, 300},
                                            {4.75, 60},
                                            {6.7, 30},
                                            {11.3, 10},
                                            {14, thermalAbove11(14)},
                                            {14, 2 * (20.0 / 14) * (20.0 / 14)},
                                            {20, 2}};
    EXPECT_NEAR(6.4775, thermalAbove11(14), 1e-4);
    expectPoints(multiples, transformerDamageMultiples(t));

    // In amperes on the primary: I_r = 2000 / (√3 x 6.6) = 174.9546 A; the
    // inrush at 12 I_r, 0.1 s; the 58 % line at 0.58 of each current.
    t.shift58 = true;
    const double ir = 2000 / (std::sqrt(3.0) * 6.6);
    EXPECT_NEAR(174.9546, transformerRatedCurrent(t), 1e-4);
    const std::vector<DeviceCurve> curves = transformerCurves(t);
    ASSERT_EQ(3u, curves.size());
    EXPECT_EQ(CurveRole::Damage, curves[0].role);
    EXPECT_NEAR(2 * ir, curves[0].points.front().current, 1e-9);
    EXPECT_NEAR(20 * ir, curves[0].points.back().current, 1e-9);
    EXPECT_EQ(CurveRole::Marker, curves[1].role);
    EXPECT_EQ("励磁突入", curves[1].caption);
    expectPoints({{12 * ir, 0.1}}, curves[1].points);
    EXPECT_EQ("58%", curves[2].caption);
    EXPECT_NEAR(0.58 * 14 * ir, curves[2].points[6].current, 1e-9);
    EXPECT_NEAR(2 * (20.0 / 14) * (20.0 / 14), curves[2].points[6].time, 1e-12);

    // Infrequent faults: the thermal part alone, up to 20 x I_r.
    t.faults = FaultFrequency::Infrequent;
    expectPoints({{2, 1800}, {3, 300}, {4.75, 60}, {6.7, 30}, {11.3, 10}, {20, thermalAbove11(20)}},
                 transformerDamageMultiples(t));
}

TEST(TransformerCurve, CategoryOneAndTheSystemImpedance) {
    // 300 kVA, Z = 2.5 %: I_max = 40, past the last corner on t = 1250 / I².
    // A single-phase unit's rated current is kVA / kV.
    TransformerData t{.kva = 300,
                      .kvPrimary = 6.6,
                      .kvSecondary = 0.2,
                      .zPercent = 2.5,
                      .phases = 1,
                      .zsPercent = 3,
                      .side = TransformerSide::Secondary};
    EXPECT_EQ(TransformerCategory::I, transformerCategory(t));
    expectPoints({{2, 1800}, {3, 300}, {4.75, 60}, {6.7, 30}, {11.3, 10}, {25, 2}, {40, 0.78125}},
                 transformerDamageMultiples(t));
    EXPECT_DOUBLE_EQ(1500, transformerRatedCurrent(t));

    // Category III takes Zs: I_max = 100 / (2.5 + 7.5) = 10, mechanical from
    // 5 on, where t_m = 2 (10 / 5)² = 8 s lies below the thermal part's 54.1 s.
    t.category = TransformerCategory::III;
    t.zsPercent = 7.5;
    const double th5 = 60 * std::pow(5 / 4.75, std::log(30.0 / 60) / std::log(6.7 / 4.75));
    expectPoints({{2, 1800},
                  {3, 300},
                  {4.75, 60},
                  {5, th5},
                  {5, 8},
                  {6.7, 2 * std::pow(10 / 6.7, 2)},
                  {10, 2}},
                 transformerDamageMultiples(t));
    EXPECT_NEAR(54.1, th5, 0.05);

    // The categories by rating: three-phase 500 / 501 / 5000 / 5001 / 30001 kVA,
    // single-phase 1667 / 1668 / 10001 kVA.
    const auto category = [](double kva, int phases) {
        return transformerCategory({.kva = kva, .phases = phases});
    };
    EXPECT_EQ(TransformerCategory::I, category(500, 3));
    EXPECT_EQ(TransformerCategory::II, category(501, 3));
    EXPECT_EQ(TransformerCategory::II, category(5000, 3));
    EXPECT_EQ(TransformerCategory::III, category(5001, 3));
    EXPECT_EQ(TransformerCategory::IV, category(30001, 3));
    EXPECT_EQ(TransformerCategory::II, category(1667, 1));
    EXPECT_EQ(TransformerCategory::III, category(1668, 1));
    EXPECT_EQ(TransformerCategory::IV, category(10001, 1));

    // I_max not above twice the rating cannot be drawn.
    EXPECT_EQ((FieldFault{
                  "z_percent",
                  "インピーダンス (%) が大きすぎます: 最大通過故障電流が定格電流の 2 倍以下です"}),
              transformerFault({.kva = 300, .kvPrimary = 6.6, .kvSecondary = 0.2, .zPercent = 50}));
    EXPECT_TRUE(transformerDamageMultiples({.kva = 300, .zPercent = 50}).empty());
}

CableData cable(Conductor conductor, Insulation insulation, double mm2 = 1, int parallel = 1) {
    CableData c;
    c.conductor = conductor;
    c.insulation = insulation;
    c.mm2 = mm2;
    c.parallel = parallel;
    return c;
}

TEST(CableCurve, AdiabaticConstantAndLine) {
    const Conductor cu = Conductor::Copper, al = Conductor::Aluminium;
    EXPECT_NEAR(115.0, cableK(cable(cu, Insulation::Pvc)), 0.05);
    EXPECT_NEAR(143.1, cableK(cable(cu, Insulation::Xlpe)), 0.05);
    EXPECT_NEAR(143.1, cableK(cable(cu, Insulation::Epr)), 0.05);
    EXPECT_NEAR(76.0, cableK(cable(al, Insulation::Pvc)), 0.05);
    EXPECT_NEAR(94.5, cableK(cable(al, Insulation::Xlpe)), 0.05);
    // Typed temperatures override the insulation's: Cu 90 → 160 °C.
    CableData typed = cable(cu, Insulation::Pvc);
    typed.thetaI = 90;
    EXPECT_NEAR(226 * std::sqrt(std::log((160 + 234.5) / (90 + 234.5))), cableK(typed), 1e-9);

    // Two 150 mm² Cu/XLPE in parallel: I = k x 300 / √t, from 5 s to 0.01 s.
    const double k = 226 * std::sqrt(std::log((250 + 234.5) / (90 + 234.5)));
    const auto curves = cableCurves(cable(cu, Insulation::Xlpe, 150, 2));
    ASSERT_EQ(1u, curves.size());
    EXPECT_EQ(CurveRole::Damage, curves[0].role);
    expectPoints({{k * 300 / std::sqrt(5.0), 5}, {k * 300 / 0.1, 0.01}}, curves[0].points);
    EXPECT_NEAR(19196.67, curves[0].points[0].current, 0.01);

    typed.thetaF = 80;
    EXPECT_EQ((FieldFault{"theta_f", "最終温度 (°C) は初期温度より高くしてください"}),
              cableFault(typed));
    EXPECT_EQ((FieldFault{"mm2", "断面積 (mm²) は 0 より大きい数値にしてください"}),
              cableFault(cable(cu, Insulation::Pvc, 0)));
}

MotorData ratedMotor(double kw, double kv, double pf, double efficiency, double accelS) {
    MotorData m;
    m.kw = kw;
    m.kv = kv;
    m.pf = pf;
    m.efficiency = efficiency;
    m.accelS = accelS;
    return m;
}

TEST(MotorCurve, StartingProfile) {
    // 300 kW, 6.6 kV, pf 0.85, efficiency 0.93: I_fl = 300 / (√3 x 6.6 x 0.85 x 0.93).
    MotorData m = ratedMotor(300, 6.6, 0.85, 0.93, 5);
    const double fl = 300 / (std::sqrt(3.0) * 6.6 * 0.85 * 0.93);
    EXPECT_NEAR(33.198, motorFullLoadCurrent(m), 1e-3);
    const auto curves = motorCurves(m, 1000);
    ASSERT_EQ(1u, curves.size());
    EXPECT_EQ(CurveRole::Marker, curves[0].role);
    expectPoints({{fl, 1000}, {fl, 5}, {6 * fl, 5}, {6 * fl, 0.01}}, curves[0].points);

    // A typed full-load current wins over the rating.
    m.flaA = 50;
    m.lrMultiple = 6.5;
    expectPoints({{50, 10}, {50, 5}, {325, 5}, {325, 0.01}}, motorCurves(m, 10)[0].points);

    EXPECT_EQ((FieldFault{"kw", "全負荷電流 (A) か出力 (kW) を入力してください"}),
              motorFault(MotorData{}));
    EXPECT_EQ((FieldFault{"pf", "力率は 0 より大きく 1 以下の数値にしてください"}),
              motorFault(ratedMotor(1, 1, 1.2, 1, 5)));
    m.accelS = 0.01;
    EXPECT_EQ((FieldFault{"accel_s", "始動時間 (s) は 0.01 より大きい数値にしてください"}),
              motorFault(m));
}

} // namespace
} // namespace telvara
