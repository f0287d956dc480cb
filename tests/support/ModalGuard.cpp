#include "ModalGuard.h"

#include <QApplication>
#include <QDialog>
#include <QMap>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace ModalGuard {

namespace {

constexpr int checkInterval = 50; // ms

QMap<const void *, std::function<bool(QWidget *)>> &expected()
{
    static QMap<const void *, std::function<bool(QWidget *)>> matchers;
    return matchers;
}

bool isExpected(QWidget *dialog)
{
    for (const auto &matches : expected()) {
        if (matches(dialog))
            return true;
    }
    return false;
}

void closeUnexpectedDialogs()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        if (!dialog || !dialog->isVisible() || !dialog->isModal() || isExpected(dialog))
            continue;
        QString what = dialog->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            what += QStringLiteral(": ") + box->text();
        const QByteArray message = "unexpected modal dialog: " + what.toUtf8();
        QTest::qFail(message.constData(), __FILE__, __LINE__);
        dialog->done(QDialog::Rejected);
    }
}

} // namespace

void start()
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, closeUnexpectedDialogs);
    timer->start(checkInterval);
}

void expect(const void *key, std::function<bool(QWidget *)> matches)
{
    expected().insert(key, std::move(matches));
}

void release(const void *key)
{
    expected().remove(key);
}

} // namespace ModalGuard
