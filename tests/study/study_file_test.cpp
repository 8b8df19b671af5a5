// The study file: its layout, its round trip, and the files it refuses.
#include "study/study_file.h"

#include "study/relay_device.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using namespace telvara;

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const std::string kExample = std::string(TELVARA_EXAMPLES) + "/substation.tvstudy";

TEST(StudyFile, ATelvaraFileWritesBackToTheSameBytes) {
    const std::string bytes = slurp(kExample);
    const TStudy study = parseStudy(bytes, "substation.tvstudy");
    EXPECT_EQ(bytes, studyText(study));
    ASSERT_EQ(4u, study.devices.size());
    EXPECT_EQ(6.6, *study.referenceKv);
    EXPECT_EQ(12500, *study.buses[1].faultMaxA);
    const auto& t1 = dynamic_cast<const TRelayDevice&>(*study.devices[3].kind);
    EXPECT_EQ("150", t1.fields[2]);
    EXPECT_EQ("第一変電所,51T", t1.storeKey);
    EXPECT_EQ((std::vector<std::string>{"F2", "R1", "T1"}), study.paths[1].devices);
}

TEST(StudyFile, AHandWrittenFileIsWrittenInTelvarasLayoutKeepingUnknownFields) {
    // Keys out of order, compact, with fields of a newer version at every level,
    // numbers written as a script might.
    const std::string hand =
        R"({"paths":[{"devices":["A"],"name":"p","colour":"x"}],"version":1.2,)"
        R"("format":"telvara-study","future":{"k":[1,2.5]},"title":"t","cti":{"x_y":1.0,"relay_relay":0.30},)"
        R"("buses":[{"kv":6.60,"name":"B","fault_max_a":1.25e4,"note":"n"}],)"
        R"("devices":[{"relay":{"tap":"5","inst_tap":"0","name":"N","device":"D","ct":"100",)"
        R"("t150":"1","t200":"1","t300":"1","t400":"1","t500":"1","t700":"1","tinst":"0","curve":"SI"},)"
        R"("kind":"relay","id":"A","bus":"B","visible":false,"extra":null}]})";
    const std::string expected = R"({
  "format": "telvara-study",
  "version": 1.2,
  "title": "t",
  "cti": {
    "relay_relay": 0.3,
    "x_y": 1
  },
  "buses": [
    {
      "name": "B",
      "kv": 6.6,
      "fault_max_a": 12500,
      "note": "n"
    }
  ],
  "devices": [
    {
      "id": "A",
      "kind": "relay",
      "label": "",
      "bus": "B",
      "visible": false,
      "relay": {
        "name": "N",
        "device": "D",
        "ct": "100",
        "t150": "1",
        "t200": "1",
        "t300": "1",
        "t400": "1",
        "t500": "1",
        "t700": "1",
        "tinst": "0",
        "tap": "5",
        "inst_tap": "0",
        "curve": "SI"
      },
      "extra": null
    }
  ],
  "paths": [
    {
      "name": "p",
      "devices": [
        "A"
      ],
      "colour": "x"
    }
  ],
  "future": {
    "k": [
      1,
      2.5
    ]
  }
}
)";
    const std::string written = studyText(parseStudy(hand, "hand.tvstudy"));
    EXPECT_EQ(expected, written);
    EXPECT_EQ(written, studyText(parseStudy(written, "hand.tvstudy")));
}

std::string faultOf(const std::string& text) {
    try {
        parseStudy(text, "s.tvstudy");
    } catch (const TStudyFileError& e) {
        return e.what();
    }
    return "(read)";
}

// The example with one line replaced.
std::string exampleWith(const std::string& from, const std::string& to) {
    std::string text = slurp(kExample);
    const std::size_t at = text.find(from);
    EXPECT_NE(std::string::npos, at) << from;
    return text.replace(at, from.size(), to);
}

TEST(StudyFile, BrokenFilesAreRefusedNamingTheLineAndTheFault) {
    EXPECT_EQ("s.tvstudy: 3 行目: JSON の書き方が正しくありません",
              faultOf("{\n  \"format\": \"telvara-study\",\n  \"version\": 1,,\n}"));
    EXPECT_EQ("s.tvstudy: 1 行目: Telvara の検討ファイルではありません", faultOf("[1, 2]"));
    EXPECT_EQ("s.tvstudy: 2 行目: Telvara の検討ファイルではありません",
              faultOf("{\n\"format\": \"telvara-chart\", \"version\": 1}"));
    EXPECT_EQ("s.tvstudy: 3 行目: 新しい版（2）の Telvara の検討ファイルです。この版では開けません",
              faultOf(exampleWith("\"version\": 1,", "\"version\": 2.1,")));
    // Line 97: T1's bus; 130: the second path's second device; 48: F2's id.
    EXPECT_EQ("s.tvstudy: 97 行目: 装置「T1」の母線「77kV母線」がありません",
              faultOf(exampleWith("\"bus\": \"66kV母線\"", "\"bus\": \"77kV母線\"")));
    EXPECT_EQ("s.tvstudy: 130 行目: 経路「配電線2」の装置「R2」がありません",
              faultOf(exampleWith("\"F2\",\n        \"R1\"", "\"F2\",\n        \"R2\"")));
    EXPECT_EQ("s.tvstudy: 48 行目: 装置 ID「F1」が二つあります",
              faultOf(exampleWith("\"id\": \"F2\"", "\"id\": \"F1\"")));
    EXPECT_EQ("s.tvstudy: 57 行目: \"ct\": CT比には 0 より大きい数を入れてください：「abc」",
              faultOf(exampleWith("\"ct\": \"200\"", "\"ct\": \"abc\"")));
    EXPECT_EQ(
        "s.tvstudy: 19 行目: 母線「6.6kV母線」の最大故障電流は 0 より大きくなければなりません",
        faultOf(exampleWith("\"fault_max_a\": 12500", "\"fault_max_a\": -1")));
    EXPECT_EQ(
        "s.tvstudy: 20 行目: 母線「6.6kV母線」の最小故障電流が最大故障電流より大きくなっています",
        faultOf(exampleWith("\"fault_min_a\": 8000\n    }\n  ],",
                            "\"fault_min_a\": 13000\n    }\n  ],")));
    EXPECT_EQ(
        "s.tvstudy: 26 行目: \"kind\": 種類「recloser」の装置はこの版の Telvara では扱えません",
        faultOf(exampleWith("\"kind\": \"relay\"", "\"kind\": \"recloser\"")));
    EXPECT_EQ("s.tvstudy: 29 行目: \"color\": 色は #rrggbb の形で書いてください：「red」",
              faultOf(exampleWith("\"color\": \"#ff0000\"", "\"color\": \"red\"")));
    EXPECT_EQ("s.tvstudy: 31 行目: \"name\": ありません",
              faultOf(exampleWith("\"name\": \"第一変電所\",\n        \"device\": \"51F1\"",
                                  "\"device\": \"51F1\"")));
}

} // namespace
