#pragma once
// "ヒューズ" / "遮断器" / "特性点で与える装置": a rating and the points of the
// minimum-melting and total-clearing curves, typed in two tables, pasted
// from a spreadsheet, read from a CSV file, or saved to the user's library
// of devices (a folder of such files).
#include "chartwin/equipment_form.h"
#include "study/point_curve.h"

#include <optional>

class QCheckBox;
class QTableWidget;
class QPushButton;

namespace telvara {

class TPointDeviceDialog : public TKindDialog {
    Q_OBJECT
public:
    TPointDeviceDialog(PointKind kind, const PointDeviceData& data, Services& services,
                       QWidget* parent);
    const PointDeviceData& Data() const { return data_; }

    void accept() override;

    // "貼り付け": the clipboard's rows into the table that has the focus (or
    // was last used); rows marked min or total go to their own table.
    void pasteRows();
    // "CSV 読み込み…": a file's points replace the curves it gives; an empty
    // rating takes the file's name (a library file is named after its device).
    void readCsv();
    // "ライブラリに保存…": the checked curves as a CSV file.
    void saveToLibrary();

private:
    // The table's points; false after a warning naming the row.
    bool readTable(QTableWidget* table, const QString& caption, std::vector<CurvePoint>& out);
    bool readTables(PointDeviceData& d);
    // Both tables read and the device checked; nothing after a warning.
    std::optional<PointDeviceData> readChecked();
    void fill(QTableWidget* table, const std::vector<CurvePoint>& points);
    void take(const PointTable& t);
    QTableWidget* currentTable() const;

    PointKind kind_;
    QLineEdit* RatingEdit;
    QTableWidget* MinTable;
    QTableWidget* TotalTable;
    QPushButton* AddRowButton;
    QPushButton* RemoveRowButton;
    QPushButton* PasteButton;
    QPushButton* CsvButton;
    QPushButton* LibraryButton;
    QCheckBox* BandCheck;

    QTableWidget* lastTable_ = nullptr;
    PointDeviceData data_;
};

} // namespace telvara
