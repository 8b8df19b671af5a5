#pragma once
// The input data list "インプットデーター一覧": the keys of every stored relay
// in key order, narrowed by a filter field as one types. From it one record
// is loaded into the main window, loaded and drawn, or every listed record is
// drawn on the chart at once. Built anew for every showing, modal, owned by
// the main window.
#include <QDialog>

#include <string>
#include <string_view>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class QScrollArea;

namespace telvara {

class TBPlusTree;
class TKeyListModel;
class TMeinForm;

// Outer size and design place of the window.
inline constexpr int kStructFormWidth = 337;
inline constexpr int kStructFormHeight = 375;
inline constexpr int kStructFormLeft = 200;
inline constexpr int kStructFormTop = 108;

class TStructForm : public QDialog {
    Q_OBJECT
public:
    explicit TStructForm(TMeinForm& main);
    ~TStructForm() override;

    // Fills the list with the lines of a key listing (CP932 bytes).
    void setListing(std::string_view listing);
    // Fills the list with every key of the store; "< Empty >" for an empty store.
    void listStore(TBPlusTree& store);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormResize();
    // "Ok", Enter and Esc.
    void CmdOkClick();
    // "選択データ表示".
    void Find1Click();
    // "全データ表示".
    void AllDataViewClick();
    // "CSV書き出し": every stored relay into a CSV file.
    void ExportCsvClick();
    // "CSV読み込み": the relays of a CSV file into the store, all or none.
    void ImportCsvClick();

    // The items of a list line (CP932 bytes).
    std::vector<std::string> lineItems(int row) const;
    // Loads the record the first two items name into the main window; true
    // when it was found.
    bool load(const std::vector<std::string>& items);
    void loadSelected();
    void finish();
    void showChart();
    void fitOuterSize();
    void addCsvCommands();
    // Narrows the list to the filter's text; a single remaining line is selected.
    void FilterEditChange();
    int selectedRow() const;

    // Controls, named as in the window's design; each control's objectName
    // is its name.
    QScrollArea* StructScrollBox = nullptr;
    QLabel* FilterLbl = nullptr;     // "絞り込み"
    QLineEdit* FilterEdit = nullptr; // company name or device number, any part
    QListView* ListBox1 = nullptr;
    TKeyListModel* Keys = nullptr;
    QPushButton* CmdOk = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Find1 = nullptr;       // "選択データ表示"
    QAction* AllDataView = nullptr; // "全データ表示"
    QAction* ExportCsv = nullptr;   // "CSV書き出し"
    QAction* ImportCsv = nullptr;   // "CSV読み込み"

    TMeinForm& main_;
    bool sizeFitted_ = false;
};

} // namespace telvara
