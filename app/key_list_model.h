#pragma once
// The lines of the input data list as a list model: the whole key listing is
// held as bytes, and only the rows the view paints are decoded, so that a
// store of 100 000 relays opens at once. A filter narrows the rows to the
// keys whose company name or device number contains the typed text.
#include <QAbstractListModel>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace telvara {

class TKeyListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The line's bytes as listed (QByteArray) under this role.
    static constexpr int kLineBytesRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    // Replaces the lines with those of a key listing (CP932 bytes); the
    // filter stays.
    void setListing(std::string_view listing);
    // Shows only the lines whose key contains `text` in its company name or
    // device number, or across the comma between them; case and the width of
    // kana, letters and digits do not count. Empty: every line.
    void setFilter(const QString& text);
    const QString& filter() const { return filter_; }

    // The line's bytes as listed.
    const std::string& lineBytes(int row) const { return lines_[shown_[std::size_t(row)]]; }
    int lineCount() const { return int(lines_.size()); }
    // The line number of a row, and the row of a line number (-1: not shown).
    int lineOf(int row) const { return int(shown_[std::size_t(row)]); }
    int rowOf(int line) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void applyFilter();
    // The key part of every line, decoded and folded for matching (built on
    // the first filter, not on opening).
    void foldLines();

    std::vector<std::string> lines_;
    std::vector<QString> folded_;
    std::vector<std::size_t> shown_; // line numbers of the rows
    QString filter_;
    QString foldedFilter_;
};

// The text as the filter compares it: compatibility-normalised (full-width
// letters and digits, half-width kana) and case-folded.
QString foldForFilter(const QString& text);

} // namespace telvara
