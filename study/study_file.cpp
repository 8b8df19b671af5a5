#include "study/study_file.h"

#include "base/os/paths.h"

#include "study/json_lines.h"
#include "study/save_file.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace telvara {

namespace {

constexpr char kFormat[] = "telvara-study";
constexpr char kNotStudy[] = "Telvara の検討ファイルではありません";

bool isColour(const std::string& c) {
    if (c.size() != 7 || c[0] != '#')
        return false;
    return c.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
}

void readHeader(TJsonObject& top, TStudy& study) {
    const std::optional<ordered_json> format = top.Take("format");
    if (!format || *format != kFormat)
        throw TStudyFieldError("/format", kNotStudy);
    const std::optional<double> version = top.OptionalNumber("version");
    if (!version)
        throw TStudyFieldError("", "版の番号 \"version\" がありません");
    if (std::floor(*version) > kStudyFormatVersion) {
        std::ostringstream v;
        v << std::floor(*version);
        throw TStudyFieldError("/version", "新しい版（" + v.str() +
                                               "）の Telvara の検討ファイルです。この版では開けません");
    }
    if (*version < 1)
        throw TStudyFieldError("/version", "版の番号が正しくありません");
    study.version = *version;
    study.title = top.OptionalText("title").value_or("");
    study.referenceKv = top.OptionalNumber("reference_kv");
    study.cti.clear();
    if (top.Has("cti")) {
        TJsonObject cti = top.Object("cti");
        const ordered_json keys = cti.Rest();
        for (auto it = keys.begin(); it != keys.end(); ++it)
            study.cti.emplace_back(it.key(), cti.Number(it.key()));
    }
}

TBus readBus(TJsonObject o) {
    TBus b;
    b.name = o.Text("name");
    b.kv = o.OptionalNumber("kv");
    b.faultMaxA = o.OptionalNumber("fault_max_a");
    b.faultMinA = o.OptionalNumber("fault_min_a");
    b.rest = o.Rest();
    return b;
}

TDevice readDevice(TJsonObject o) {
    TDevice d;
    d.id = o.Text("id");
    const std::string kind = o.Text("kind");
    d.kind = makeDeviceKind(kind);
    if (!d.kind)
        o.Fail("kind", "種類「" + kind + "」の装置はこの版の Telvara では扱えません");
    d.label = o.OptionalText("label").value_or("");
    d.bus = o.OptionalText("bus").value_or("");
    if (o.Has("color")) {
        d.color = o.Text("color");
        if (!isColour(*d.color))
            o.Fail("color", "色は #rrggbb の形で書いてください：「" + *d.color + "」");
    }
    d.visible = o.Flag("visible", true);
    d.kind->Read(o);
    d.rest = o.Rest();
    return d;
}

TPath readPath(TJsonObject o) {
    TPath p;
    p.name = o.Text("name");
    for (auto& [item, pointer] : o.Array("devices")) {
        if (!item.is_string())
            throw TStudyFieldError(pointer, "装置の ID は文字列でなければなりません");
        p.devices.push_back(item.get<std::string>());
    }
    p.rest = o.Rest();
    return p;
}

TStudy readStudy(const ordered_json& json) {
    if (!json.is_object())
        throw TStudyFieldError("", kNotStudy);
    TJsonObject top(json, "");
    TStudy study;
    readHeader(top, study);
    for (auto& [item, pointer] : top.Array("buses"))
        study.buses.push_back(readBus(TJsonObject(std::move(item), pointer)));
    for (auto& [item, pointer] : top.Array("devices"))
        study.devices.push_back(readDevice(TJsonObject(std::move(item), pointer)));
    for (auto& [item, pointer] : top.Array("paths"))
        study.paths.push_back(readPath(TJsonObject(std::move(item), pointer)));
    study.rest = top.Rest();
    validateStudy(study);
    return study;
}

void putOptional(ordered_json& o, const char* key, const std::optional<double>& v) {
    if (v)
        o[key] = jsonNumber(*v);
}

ordered_json busJson(const TBus& b) {
    ordered_json o = ordered_json::object();
    o["name"] = b.name;
    putOptional(o, "kv", b.kv);
    putOptional(o, "fault_max_a", b.faultMaxA);
    putOptional(o, "fault_min_a", b.faultMinA);
    appendRest(o, b.rest);
    return o;
}

ordered_json deviceJson(const TDevice& d) {
    ordered_json o = ordered_json::object();
    o["id"] = d.id;
    o["kind"] = d.kind->Name();
    o["label"] = d.label;
    if (!d.bus.empty())
        o["bus"] = d.bus;
    if (d.color)
        o["color"] = *d.color;
    o["visible"] = d.visible;
    d.kind->Write(o);
    appendRest(o, d.rest);
    return o;
}

ordered_json pathJson(const TPath& p) {
    ordered_json o = ordered_json::object();
    o["name"] = p.name;
    o["devices"] = p.devices;
    appendRest(o, p.rest);
    return o;
}

// The margins this version knows first, in their fixed order.
ordered_json ctiJson(const TStudy& study) {
    ordered_json o = ordered_json::object();
    for (const char* key : {"relay_relay", "relay_point", "point_point"})
        for (const auto& [k, v] : study.cti)
            if (k == key)
                o[k] = jsonNumber(v);
    for (const auto& [k, v] : study.cti)
        if (!o.contains(k))
            o[k] = jsonNumber(v);
    return o;
}

std::string readAll(const std::string& path) {
    std::ifstream in(os::pathOf(path), std::ios::binary);
    if (!in)
        throw IoError(path + " を開けません");
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad())
        throw IoError(path + " を読めません");
    return s.str();
}

} // namespace

TStudyFileError::TStudyFileError(const std::string& fileName, int line, const std::string& fault)
    : TelvaraError(fileName + ": " + std::to_string(line) + " 行目: " + fault), line_(line),
      fault_(fault) {}

TStudy parseStudy(std::string_view text, const std::string& fileName) {
    ordered_json json;
    try {
        json = ordered_json::parse(text);
    } catch (const ordered_json::parse_error& e) {
        // byte: the 1-based position where reading stopped.
        const std::size_t at = e.byte > 0 ? e.byte - 1 : 0;
        throw TStudyFileError(fileName, lineOfOffset(text, at), "JSON の書き方が正しくありません");
    }
    try {
        return readStudy(json);
    } catch (const TStudyFieldError& e) {
        throw TStudyFileError(fileName, jsonPointerLine(text, e.Pointer()), e.what());
    }
}

std::string studyText(const TStudy& study) {
    ordered_json o = ordered_json::object();
    o["format"] = kFormat;
    o["version"] = jsonNumber(study.version);
    o["title"] = study.title;
    putOptional(o, "reference_kv", study.referenceKv);
    o["cti"] = ctiJson(study);
    o["buses"] = ordered_json::array();
    for (const TBus& b : study.buses)
        o["buses"].push_back(busJson(b));
    o["devices"] = ordered_json::array();
    for (const TDevice& d : study.devices)
        o["devices"].push_back(deviceJson(d));
    o["paths"] = ordered_json::array();
    for (const TPath& p : study.paths)
        o["paths"].push_back(pathJson(p));
    appendRest(o, study.rest);
    try {
        return o.dump(2, ' ', false, nlohmann::detail::error_handler_t::strict) + "\n";
    } catch (const ordered_json::type_error&) {
        throw TelvaraError("検討に UTF-8 として正しくない文字列があります");
    }
}

TStudy readStudyFile(const std::string& path) {
    return parseStudy(readAll(path), path);
}

void writeStudyFile(const std::string& path, const TStudy& study) {
    saveFileAtomically(path, studyText(study));
}

} // namespace telvara
