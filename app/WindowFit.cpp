// Sizes from the fonts in use: the form places every widget where it was
// designed, and a widget whose text needs more room than its design gives
// grows to it, measured at run time; the layouts move the rest aside.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

namespace {

constexpr char designSizeProperty[] = "designSize"; // set in the form
constexpr char typicalPortName[] = "ttyUSB0";

QSize designSize(const QWidget *widget)
{
    return widget->property(designSizeProperty).toSize();
}

// The room the style leaves around a push button's text, at its design size.
QSize neededBy(const QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = QRect(QPoint(), designSize(button));
    option.text = button->text();
    const QSize contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
    return button->fontMetrics().size(Qt::TextShowMnemonic, button->text()) + option.rect.size() - contents;
}

// Room for the longest port name listed, and at least a typical one: its
// width, and the height its letters reach.
QSize neededBy(const QComboBox *combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.rect = QRect(QPoint(), designSize(combo));
    const QSize field =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).size();
    const QFontMetrics metrics = combo->fontMetrics();
    QString longest = QLatin1String(typicalPortName);
    for (int k = 0; k < combo->count(); ++k) {
        if (metrics.horizontalAdvance(combo->itemText(k)) > metrics.horizontalAdvance(longest))
            longest = combo->itemText(k);
    }
    const QSize text(metrics.horizontalAdvance(longest), metrics.tightBoundingRect(longest).height());
    return text + option.rect.size() - field;
}

} // namespace

void MainWindow::fitToFont()
{
    fitTableToFont();
    ui->VKRInfo->setMinimumSize(designSize(ui->VKRInfo).expandedTo(ui->VKRInfo->sizeHint()));
    ui->autoButton->setFixedSize(designSize(ui->autoButton).expandedTo(neededBy(ui->autoButton)));
    ui->comPortComboBox->setFixedSize(designSize(ui->comPortComboBox).expandedTo(neededBy(ui->comPortComboBox)));
}

// The device label's texts come and go: its room grows to the longest shown
// (so that the table beside it does not change width with every text).
void MainWindow::fitDeviceLabel()
{
    ui->VKRInfo->setMinimumSize(ui->VKRInfo->minimumSize().expandedTo(ui->VKRInfo->sizeHint()));
}

// The window opens at its design size, enough for the central area to hold
// the form's design below the menu bar and above the status bar, whatever
// their heights on this platform; larger where the fonts need it.
void MainWindow::resizeToDesign()
{
    const QSize central = designSize(ui->centralWidget);
    const int bars = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    resize(QSize(central.width(), central.height() + bars).expandedTo(minimumSizeHint()));
}
