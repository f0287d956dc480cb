#include "ImportReportDialog.h"
#include "ui_ImportReportDialog.h"

#include <QFontMetrics>

namespace {
// Room for a typical message and a screenful of them, in the user's font.
constexpr int visibleCharacters = 90;
constexpr int visibleLines = 14;
} // namespace

ImportReportDialog::ImportReportDialog(const QString &summary, const QStringList &messages, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ImportReportDialog)
{
    ui->setupUi(this);
    ui->summaryLabel->setText(summary);
    ui->messagesText->setPlainText(messages.join(QLatin1Char('\n')));
    const QFontMetrics metrics(ui->messagesText->font());
    ui->messagesText->setMinimumSize(metrics.averageCharWidth() * visibleCharacters, metrics.lineSpacing() * visibleLines);
}

ImportReportDialog::~ImportReportDialog()
{
    delete ui;
}
