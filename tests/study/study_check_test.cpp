// Referral, and the check of a study's paths.
#include "study/study_check.h"

#include "study_test_util.h"

#include <gtest/gtest.h>

namespace {

using namespace telvara;
using telvara::test::flatRelay;

TEST(StudyReferral, CurrentsAreDrawnAtTheReferenceVoltage) {
    TStudy study;
    study.referenceKv = 6.6;
    study.buses = {{"66kV", 66, 8000, 5000}, {"無電圧", std::nullopt, 100, std::nullopt}};
    // CT 150/5, tap 5: 150 A; 150 % is 225 A at 66 kV, 2250 A at 6.6 kV.
    study.devices.push_back(flatRelay("T", "66kV", "150", "1"));
    study.devices.push_back(flatRelay("N", "無電圧", "150", "1"));
    study.devices.push_back(flatRelay("X", "", "150", "1"));
    EXPECT_DOUBLE_EQ(2250, referredCurves(study, study.devices[0])[0].points[0].current);
    EXPECT_DOUBLE_EQ(80000, *referredFaultMax(study, study.buses[0]));
    EXPECT_DOUBLE_EQ(50000, *referredFaultMin(study, study.buses[0]));
    // Without a voltage or a bus the currents stay as the relay gives them.
    EXPECT_DOUBLE_EQ(225, referredCurves(study, study.devices[1])[0].points[0].current);
    EXPECT_DOUBLE_EQ(225, referredCurves(study, study.devices[2])[0].points[0].current);
    EXPECT_FALSE(referredFaultMin(study, study.buses[1]));
    study.referenceKv.reset();
    EXPECT_DOUBLE_EQ(225, referredCurves(study, study.devices[0])[0].points[0].current);
    EXPECT_DOUBLE_EQ(8000, *referredFaultMax(study, study.buses[0]));
}

// Downstream "D" on a 3.3 kV bus: 0.5 s from 150 A (75 A at 6.6 kV). Upstream
// "U" at 6.6 kV: 0.9 s from 150 A, INST 0.05 s from 1000 A.
TStudy gradedPair(double downstreamFaultA) {
    TStudy study;
    study.referenceKv = 6.6;
    study.buses = {{"3.3kV", 3.3, downstreamFaultA, std::nullopt}, {"6.6kV", 6.6, 20000}};
    study.devices.push_back(flatRelay("D", "3.3kV", "100", "0.5"));
    study.devices.push_back(flatRelay("U", "6.6kV", "100", "0.9", "10", "0.05"));
    study.paths.push_back({"幹線", {"D", "U"}});
    return study;
}

TEST(StudyCheck, APairIsCheckedUpToTheDownstreamBusFaultCurrentReferred) {
    // 1800 A at 3.3 kV is 900 A at 6.6 kV: the INST step at 1000 A lies beyond.
    std::vector<TStudyCheckLine> lines = checkStudy(gradedPair(1800));
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("幹線", lines[0].path);
    EXPECT_EQ("coord", lines[0].kind);
    EXPECT_EQ("D", lines[0].firstId);
    EXPECT_EQ("U", lines[0].secondId);
    EXPECT_NEAR(0.4, *lines[0].margin, 1e-9);
    EXPECT_TRUE(lines[0].pass);
    // 2400 A at 3.3 kV reaches the step: 0.05 - 0.5 at 1000 A.
    lines = checkStudy(gradedPair(2400));
    EXPECT_NEAR(-0.45, *lines[0].margin, 1e-9);
    EXPECT_NEAR(1000, *lines[0].current, 1e-9);
    EXPECT_FALSE(lines[0].pass);
    // Faults below the upstream relay's pick-up (150 A): no common range, no failure.
    lines = checkStudy(gradedPair(200));
    EXPECT_FALSE(lines[0].margin);
    EXPECT_FALSE(lines[0].current);
    EXPECT_TRUE(lines[0].pass);
}

TEST(StudyCheck, TheStudysMarginForTheKindOfPairOrTheOneGiven) {
    TStudy study = gradedPair(1800);
    study.cti = {{"relay_relay", 0.45}};
    EXPECT_FALSE(checkStudy(study)[0].pass);
    EXPECT_TRUE(checkStudy(study, {0.4})[0].pass);
}

TEST(StudyCheck, PairsAreConsecutiveDevicesOfEachPathOrWithoutPathsByPickUp) {
    TStudy study;
    // Pick-ups: A 150 A, B 300 A, C 600 A, E 1200 A.
    study.devices.push_back(flatRelay("C", "", "400", "1.1"));
    study.devices.push_back(flatRelay("A", "", "100", "0.5"));
    study.devices.push_back(flatRelay("E", "", "800", "1.5"));
    study.devices.push_back(flatRelay("B", "", "200", "0.9"));
    auto pairs = [](const std::vector<TStudyCheckLine>& lines) {
        std::vector<std::string> out;
        for (const TStudyCheckLine& l : lines)
            out.push_back(l.path + ":" + l.firstId + ">" + l.secondId);
        return out;
    };
    EXPECT_EQ((std::vector<std::string>{"-:A>B", "-:B>C", "-:C>E"}), pairs(checkStudy(study)));

    study.paths = {{"一", {"A", "C", "E"}}, {"二", {"B", "E"}}, {"三", {"C"}}};
    const std::vector<TStudyCheckLine> lines = checkStudy(study);
    EXPECT_EQ((std::vector<std::string>{"一:A>C", "一:C>E", "二:B>E"}), pairs(lines));
    // 1.1 - 0.5 from 600 A; 1.5 - 1.1 from 1200 A; 1.5 - 0.9 from 1200 A.
    EXPECT_NEAR(0.6, *lines[0].margin, 1e-9);
    EXPECT_NEAR(0.4, *lines[1].margin, 1e-9);
    EXPECT_NEAR(0.6, *lines[2].margin, 1e-9);
}

TEST(StudyModel, BrokenReferencesAreFoundWhereTheFileHasThem) {
    TStudy study = gradedPair(1800);
    EXPECT_NO_THROW(validateStudy(study));
    auto place = [](const TStudy& s) {
        try {
            validateStudy(s);
        } catch (const TStudyFieldError& e) {
            return e.Pointer() + " " + e.what();
        }
        return std::string("sound");
    };
    TStudy twice = study;
    twice.paths[0].devices.push_back("D");
    EXPECT_EQ("/paths/0/devices/2 経路「幹線」に装置「D」が二度あります", place(twice));
    TStudy sameBus = study;
    sameBus.buses[1].name = "3.3kV";
    EXPECT_EQ("/buses/1/name 母線「3.3kV」が二つあります", place(sameBus));
    TStudy noId = study;
    noId.devices[1].id.clear();
    EXPECT_EQ("/devices/1/id 装置の ID がありません", place(noId));
}

} // namespace
