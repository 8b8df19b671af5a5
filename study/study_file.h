#pragma once
// The study file (".tvstudy"): UTF-8 JSON, two-space indentation, keys in a
// fixed order, so that two revisions of a study diff line by line.
//
//   {
//     "format": "telvara-study",
//     "version": 1,
//     "title": "…",
//     "reference_kv": 6.6,                      optional
//     "cti": {"relay_relay": 0.3, …},
//     "buses": [{"name", "kv"?, "fault_max_a"?, "fault_min_a"?}],
//     "devices": [{"id", "kind", "label", "bus", "color"?, "visible",
//                  then the kind's fields ("relay": {"name", "device", "ct",
//                  "t150" … "t700", "tinst", "tap", "inst_tap", "store_key"?})}],
//     "paths": [{"name", "devices": ["id", …]}]
//   }
//
// Numbers are JSON numbers; whole ones are written without a decimal point.
// Fields this version does not know are kept where they were found and
// written after the known ones of their object. A file Telvara wrote reads
// and writes back to the same bytes; any other layout is read and written in
// this one.
#include "study/study.h"

#include <functional>
#include <string>
#include <string_view>

namespace telvara {

inline constexpr char kStudyExtension[] = ".tvstudy";

// A file that cannot be read as a study. what(): "NAME: N 行目: fault".
class TStudyFileError : public TelvaraError {
public:
    TStudyFileError(const std::string& fileName, int line, const std::string& fault);
    int Line() const { return line_; }
    const std::string& Fault() const { return fault_; }

private:
    int line_;
    std::string fault_;
};

// The study in the text. fileName only names the file in errors. Raises
// TStudyFileError for text that is not JSON, not a study, from a newer major
// version, or that breaks an invariant of the study.
TStudy parseStudy(std::string_view text, const std::string& fileName);
// The file's text.
std::string studyText(const TStudy& study);

// Reads the file. IoError when it cannot be read; TStudyFileError as above.
TStudy readStudyFile(const std::string& path);
// Writes the file atomically (see save_file.h), keeping the previous version
// as "NAME.tvstudy~".
void writeStudyFile(const std::string& path, const TStudy& study);

} // namespace telvara
