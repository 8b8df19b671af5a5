#include "app/key_list_model.h"

#include "app/list_line.h"
#include "base/cp932.h"

#include <QByteArray>

#include <algorithm>

namespace telvara {

QString foldForFilter(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

void TKeyListModel::setListing(std::string_view listing) {
    beginResetModel();
    lines_ = splitListText(listing);
    folded_.clear();
    applyFilter();
    endResetModel();
}

void TKeyListModel::setFilter(const QString& text) {
    if (text == filter_)
        return;
    beginResetModel();
    filter_ = text;
    foldedFilter_ = foldForFilter(text);
    applyFilter();
    endResetModel();
}

void TKeyListModel::applyFilter() {
    shown_.clear();
    if (foldedFilter_.isEmpty()) {
        shown_.resize(lines_.size());
        for (std::size_t i = 0; i < lines_.size(); ++i)
            shown_[i] = i;
        return;
    }
    foldLines();
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (folded_[i].contains(foldedFilter_))
            shown_.push_back(i);
}

// Only a line that names a key (company name and device number) can match:
// "< Empty >" and "[etc.]" cannot, and neither can the indent.
void TKeyListModel::foldLines() {
    if (folded_.size() == lines_.size())
        return;
    folded_.clear();
    folded_.reserve(lines_.size());
    for (const std::string& line : lines_) {
        const std::vector<std::string> items = readListLine(line);
        if (items.size() < 2) {
            folded_.emplace_back();
            continue;
        }
        folded_.push_back(
            foldForFilter(QString::fromStdString(cp932ToUtf8(items[0] + ',' + items[1]))));
    }
}

int TKeyListModel::rowOf(int line) const {
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), std::size_t(line));
    return at != shown_.end() && *at == std::size_t(line) ? int(at - shown_.begin()) : -1;
}

int TKeyListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

QVariant TKeyListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::string& line = lineBytes(index.row());
    if (role == Qt::DisplayRole)
        return QString::fromStdString(cp932ToUtf8(line));
    if (role == kLineBytesRole)
        return QByteArray(line.data(), qsizetype(line.size()));
    return {};
}

} // namespace telvara
