#include "benchdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>

BenchDialogs::BenchDialogs(const QString &fileName) : m_fileName(fileName)
{
    connect(&m_poll, &QTimer::timeout, this, &BenchDialogs::answer);
    m_poll.start(5);
}

void BenchDialogs::answer()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        const QList<QAbstractButton *> buttons = box->buttons();
        for (QAbstractButton *button : buttons) {
            if (button->text() == QLatin1String("Si")) {
                button->click();
                return;
            }
        }
        told << box->text() + QLatin1Char(' ') + box->detailedText();
        box->accept();
    } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        // Typed into the name field: selectFile() leaves a field that has the focus alone.
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(m_fileName);
        else
            dialog->selectFile(m_fileName);
        accepted.start();
        QMetaObject::invokeMethod(dialog, "accept");
    }
}
