#pragma once
// The help contexts of the program's windows: F1 on a control, or a window's
// help button, opens the page the help set maps to the number.

namespace telvara {

inline constexpr int kMainHelpContext = 1;        // the main window
inline constexpr int kDataFolderHelpContext = 2;  // the data-folder dialog
inline constexpr int kChartButtonHelpContext = 3; // "グラフ表示"
inline constexpr int kChartCurvesHelpContext = 4; // the chart window's curve buttons
inline constexpr int kAddRemoveHelpContext = 6;   // adding and removing records
inline constexpr int kListHelpContext = 7;        // the input data list and the search list
inline constexpr int kCurveHelpContext = 16;      // standard characteristics
inline constexpr int kCheckHelpContext = 20;      // the coordination check
inline constexpr int kExportHelpContext = 30;     // export and print preview
inline constexpr int kStudyPanelHelpContext = 41; // the chart window's study panel

} // namespace telvara
