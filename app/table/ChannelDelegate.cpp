#include "ChannelDelegate.h"

#include "AFNameValidator.h"
#include "ChannelRules.h"
#include "FreqValidator.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

constexpr int bandPadding = 4; // px above and below the caption's text

// One validator of each kind serves every editor of its column; they hold no
// state and live until the program ends.
FreqValidator *sharedFreqValidator()
{
    static FreqValidator *const validator = new FreqValidator(nullptr);
    return validator;
}

AFNameValidator *sharedNameValidator()
{
    static AFNameValidator *const validator = new AFNameValidator(nullptr);
    return validator;
}

} // namespace

ChannelDelegate::ChannelDelegate(QAbstractItemView *view)
    : QStyledItemDelegate(view)
    , view(view)
{
}

int ChannelDelegate::bandHeight(const QFontMetrics &metrics)
{
    return metrics.height() + 2 * bandPadding;
}

const QValidator *ChannelDelegate::frequencyValidator()
{
    return sharedFreqValidator();
}

const QValidator *ChannelDelegate::nameValidator()
{
    return sharedNameValidator();
}

QWidget *ChannelDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    if (index.column() == NumberColumn)
        return nullptr;
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    if (index.column() == NameColumn) {
        editor->setMaxLength(RadioModels::series().nameLength);
        editor->setValidator(sharedNameValidator());
    } else {
        editor->setValidator(sharedFreqValidator());
        if (frequencyEditorMade)
            frequencyEditorMade(editor);
    }
    return editor;
}

// The text is shown as the table holds it: the name validator, which the
// editor would run on a new text, upper-cases the character before the
// cursor, so it is set aside meanwhile. It judges only what the user types.
// A name longer than a radio stores (from a file) opens whole, to be
// shortened; typing never makes one longer.
void ChannelDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *lineEdit = qobject_cast<QLineEdit *>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    const QValidator *validator = lineEdit->validator();
    lineEdit->setValidator(nullptr);
    if (index.column() == NameColumn)
        lineEdit->setMaxLength(qMax(int(text.size()), RadioModels::series().nameLength));
    lineEdit->setText(text);
    lineEdit->setValidator(validator);
}

void ChannelDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    QString text = qobject_cast<QLineEdit *>(editor)->text();
    if (index.column() == FrequencyColumn)
        text = ChannelRules::completedFrequency(text);
    if (commit)
        commit(index.row(), index.column(), text);
}

QRect ChannelDelegate::cellRect(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QRect rect = option.rect;
    if (index.row() == boundary)
        rect.setTop(rect.top() + bandHeight(option.fontMetrics));
    return rect;
}

void ChannelDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                           const QModelIndex &index) const
{
    editor->setGeometry(cellRect(option, index));
}

void ChannelDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell(option);
    cell.rect = cellRect(option, index);
    QStyledItemDelegate::paint(painter, cell, index);
}

// Enter, Tab and a click elsewhere leave the editor with its text,
// whatever it holds (a red text stays red in the table; Qt's own handling
// would drop a text its validator does not accept yet); Enter then goes
// down a row, Tab on to the next cell. Everything else is the editor's.
bool ChannelDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QLineEdit *>(object);
    if (editor && event->type() == QEvent::FocusOut) {
        if (QApplication::focusWidget() == editor)
            return false; // the window lost the focus, or a menu took it for a moment
        emit commitData(editor);
        emit closeEditor(editor, NoHint);
        return false;
    }
    if (!editor || event->type() != QEvent::KeyPress)
        return QStyledItemDelegate::eventFilter(object, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        const QModelIndex current = view->currentIndex();
        emit commitData(editor);
        emit closeEditor(editor, NoHint);
        const QModelIndex below = current.sibling(current.row() + 1, current.column());
        if (below.isValid())
            view->setCurrentIndex(below);
        return true;
    }
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        emit commitData(editor);
        emit closeEditor(editor, key == Qt::Key_Tab ? EditNextItem : EditPreviousItem);
        return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
