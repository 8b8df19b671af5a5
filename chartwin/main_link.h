#pragma once
// What the chart window reads from the main window at every activation.
// The main window implements it; the chart window knows nothing else of it.
#include "base/colors.h"
#include "relay/relay.h"

#include <optional>
#include <string>

namespace telvara {

class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    // Texts of the seven time fields Edit2 .. Edit8 (index 0 .. 6), UTF-8.
    virtual std::string timeText(int index) const = 0;
    // Text of the device number field Debaisu.
    virtual std::string deviceText() const = 0;
    // Text of the company name field kaisya.
    virtual std::string companyText() const { return {}; }
    // Texts of CT比 (Edit1), タップ (Edit9) and INSTタップ (Edit10): what a study
    // keeps of the relay shown, beside the times and names.
    virtual std::string ctText() const { return {}; }
    virtual std::string tapText() const { return {}; }
    virtual std::string instTapText() const { return {}; }
    // The derived currents of the relay shown: TapCurrent, Current150 ..
    // Current700 and InstCurrent, as the main window's fields gave them.
    virtual RelayCurrents currents() const = 0;
    // State of TimeCheck "時間10or1000".
    virtual bool timeCheckChecked() const = 0;
    // Selected item of RadioGroup1: -1 none, 0 "指定色を交える", 1 "ランダム付ける".
    virtual int colorRadioIndex() const = 0;
    // Colour of ColorDialog1 (black until the user picks one).
    virtual TColor dialogColor() const = 0;
    // Caption of VersionNoLbl.
    virtual std::string versionCaption() const = 0;
    // A random colour for the curve ("ランダム付ける").
    virtual TColor ColorSelect() = 0;
    // Raises an IoError naming the file when path is one of the open store's
    // own files, which no picture may overwrite.
    virtual void refuseStoreFile(const std::string& path) const { (void)path; }
    // The relay of this company name and device number (UTF-8) as the open
    // store holds it; none when no store is open or it holds no such relay.
    // The main window's loaded record stays as it is.
    virtual std::optional<RelaySettings> storedRelay(const std::string& company,
                                                     const std::string& device) const {
        (void)company;
        (void)device;
        return std::nullopt;
    }
};

} // namespace telvara
