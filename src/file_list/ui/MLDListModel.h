#pragma once
// What the list window's grid shows: one line per list row, the row number in the vertical
// header, the path and the decoded title in the two columns. The window refills it from its
// list; the model never touches the list itself.

#include <QAbstractTableModel>
#include <QString>
#include <vector>

namespace tonekit::ui {

class MLDListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  static constexpr int kPathColumn = 0;
  static constexpr int kTitleColumn = 1;

  struct Line {
    QString path;
    QString title;
  };

  explicit MLDListModel(QObject* parent = nullptr);

  // Replaces every line; the column headers show from the first call on.
  void setLines(std::vector<Line> lines);
  // row is 0-based.
  void setTitle(int row, const QString& title);
  const std::vector<Line>& lines() const { return lines_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<Line> lines_;
  bool headersShown_ = false;
};

}  // namespace tonekit::ui
