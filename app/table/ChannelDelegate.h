#pragma once

#include <QStyledItemDelegate>

#include <functional>

class QLineEdit;

// Draws and edits the cells of the channel table. A cell is edited in a
// line editor with the column's validator; leaving it (Enter, Tab, a click
// elsewhere) hands the text to `commit`, a frequency with one or two
// decimals completed where that makes a channel. Enter then moves to the
// same column of the next row. The first row that is not on the radio is
// drawn below a caption band.
class ChannelDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    enum Column { NumberColumn = 0, NameColumn = 1, FrequencyColumn = 2 };

    explicit ChannelDelegate(QAbstractItemView *view);

    std::function<void(int row, int column, const QString &text)> commit;
    std::function<void(QLineEdit *editor)> frequencyEditorMade;

    // -1: every row is on the radio.
    void setBoundaryRow(int row) { boundary = row; }
    int boundaryRow() const { return boundary; }
    // The height of the caption band above the boundary row's cells.
    static int bandHeight(const QFontMetrics &metrics);

    // The validators the editors share.
    static const QValidator *frequencyValidator();
    static const QValidator *nameValidator();

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    QRect cellRect(const QStyleOptionViewItem &option, const QModelIndex &index) const;

    QAbstractItemView *view;
    int boundary = -1;
};
