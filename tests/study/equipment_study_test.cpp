// Fuses, transformers, cables and motors in a study: the file's fields, and
// the lines of the check along paths, against values worked out by hand.
#include "study/study_check.h"
#include "study/study_file.h"
#include "study/transformer_device.h"

#include <gtest/gtest.h>

#include <cmath>

namespace telvara {
namespace {

// Every kind, as Telvara writes it.
constexpr char kEveryKind[] = R"({
  "format": "telvara-study",
  "version": 1,
  "title": "機器",
  "reference_kv": 6.6,
  "cti": {
    "relay_relay": 0.3,
    "relay_point": 0.25,
    "point_point": 0.05
  },
  "buses": [
    {
      "name": "6.6kV",
      "kv": 6.6
    }
  ],
  "devices": [
    {
      "id": "F1",
      "kind": "fuse",
      "label": "PF 20A",
      "bus": "6.6kV",
      "visible": true,
      "rating": "20A",
      "min_curve": [
        [
          40,
          100
        ],
        [
          400,
          0.01
        ]
      ],
      "total_curve": [
        [
          60,
          100
        ],
        [
          600,
          0.012
        ]
      ],
      "band": true
    },
    {
      "id": "B1",
      "kind": "breaker",
      "label": "MCCB",
      "visible": false,
      "rating": "",
      "total_curve": [
        [
          100,
          1000
        ],
        [
          1000,
          0.02
        ]
      ]
    },
    {
      "id": "T1",
      "kind": "transformer",
      "label": "1号変圧器",
      "bus": "6.6kV",
      "color": "#008000",
      "visible": true,
      "kva": 2000,
      "kv_primary": 6.6,
      "kv_secondary": 0.44,
      "z_percent": 5.5,
      "phases": 3,
      "category": "III",
      "faults": "infrequent",
      "zs_percent": 0.5,
      "side": "secondary",
      "inrush_multiple": 10,
      "inrush_s": 0.15,
      "shift58": true
    },
    {
      "id": "C1",
      "kind": "cable",
      "label": "CV 3C 60",
      "bus": "6.6kV",
      "visible": true,
      "conductor": "al",
      "insulation": "epr",
      "theta_i": 80,
      "mm2": 60,
      "parallel": 2
    },
    {
      "id": "M1",
      "kind": "motor",
      "label": "ポンプ",
      "bus": "6.6kV",
      "visible": true,
      "kw": 300,
      "kv": 6.6,
      "pf": 0.85,
      "efficiency": 0.93,
      "lr_multiple": 6.5,
      "accel_s": 4,
      "note": "kept"
    }
  ],
  "paths": []
}
)";

std::string refusal(const std::string& text) {
    try {
        parseStudy(text, "s.tvstudy");
    } catch (const TStudyFileError& e) {
        return e.what();
    }
    return "read";
}

TEST(EquipmentStudyFile, EveryKindRoundTripsAndAbsentFieldsTakeDefaults) {
    const TStudy study = parseStudy(kEveryKind, "s.tvstudy");
    EXPECT_EQ(kEveryKind, studyText(study));
    const auto& t = dynamic_cast<const TTransformerDevice&>(*study.FindDevice("T1")->kind);
    EXPECT_EQ(TransformerCategory::III, t.data.category);
    EXPECT_EQ(TransformerSide::Secondary, t.data.side);
    EXPECT_DOUBLE_EQ(0.5, t.data.zsPercent);

    // Written by hand with only what has no default.
    const TStudy small = parseStudy(R"({"format": "telvara-study", "version": 1, "devices": [
        {"id": "T", "kind": "transformer", "kva": 500, "kv_primary": 6.6, "kv_secondary": 0.2,
         "z_percent": 4},
        {"id": "M", "kind": "motor", "fla_a": 40, "accel_s": 3},
        {"id": "C", "kind": "cable", "mm2": 38}]})",
                                    "s.tvstudy");
    const std::string text = studyText(small);
    EXPECT_NE(std::string::npos, text.find(R"("z_percent": 4,
      "phases": 3,
      "category": "auto",
      "faults": "frequent",
      "zs_percent": 0,
      "side": "primary",
      "inrush_multiple": 12,
      "inrush_s": 0.1,
      "shift58": false)"));
    EXPECT_NE(std::string::npos, text.find(R"("fla_a": 40,
      "lr_multiple": 6,
      "accel_s": 3)"));
    EXPECT_NE(std::string::npos, text.find(R"("conductor": "cu",
      "insulation": "xlpe",
      "mm2": 38,
      "parallel": 1)"));
}

TEST(EquipmentStudyFile, BrokenFieldsAreRefusedNamingLineAndField) {
    const auto with = [](const std::string& from, const std::string& to) {
        std::string text = kEveryKind;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    EXPECT_EQ("s.tvstudy: 76 行目: \"category\": \"auto\"、\"I\"、\"II\"、\"III\"、\"IV\" "
              "のどれかにしてください：「V」",
              refusal(with(R"("category": "III")", R"("category": "V")")));
    EXPECT_EQ("s.tvstudy: 30 行目: \"min_curve\": 点は [電流, 時間] の 2 つの数で書いてください",
              refusal(with("          400,\n          0.01\n", "          400\n")));
    EXPECT_EQ("s.tvstudy: 25 行目: \"min_curve\": 最小溶断特性の 2 点目: "
              "時間は前の点より大きくできません",
              refusal(with("          0.01\n", "          101\n")));
    EXPECT_EQ("s.tvstudy: 92 行目: \"theta_f\": 最終温度 (°C) は初期温度より高くしてください",
              refusal(with(R"("theta_i": 80,)", R"("theta_i": 80, "theta_f": 70,)")));
    EXPECT_EQ("s.tvstudy: 96 行目: \"accel_s\": ありません", refusal(with(R"("accel_s": 4,)", "")));
    EXPECT_EQ("s.tvstudy: 2 行目: 最小特性か最大特性の点を入力してください",
              refusal("{\"format\": \"telvara-study\", \"version\": 1, \"devices\": [\n"
                      "  {\"id\": \"B\", \"kind\": \"breaker\"}]}"));
}

} // namespace
} // namespace telvara
