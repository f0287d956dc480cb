#include "ManualDialog.h"
#include "ui_ManualDialog.h"

#include <QFile>

namespace {

constexpr char readme[] = ":/manual/README.md";
constexpr char sectionTitle[] = "## Short manual";
constexpr char nextSection[] = "\n## ";

// The section from its title to the next one of the same level.
QString shortManual()
{
    QFile file{QLatin1String(readme)};
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QString text = QString::fromUtf8(file.readAll());
    const int start = text.indexOf(QLatin1String(sectionTitle));
    if (start < 0)
        return QString();
    const int end = text.indexOf(QLatin1String(nextSection), start + 1);
    return text.mid(start, end < 0 ? -1 : end - start);
}

} // namespace

ManualDialog::ManualDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ManualDialog)
{
    ui->setupUi(this);
    ui->manualText->setMarkdown(shortManual());
}

ManualDialog::~ManualDialog()
{
    delete ui;
}
