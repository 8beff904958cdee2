#include "support/testsupport.h"

#include "content/dtabledlg.h"

#include <QApplication>
#include <QMetaMethod>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

Q_DECLARE_METATYPE(BtMenus::btType)

class tst_DTableDlg : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qRegisterMetaType<BtMenus::btType>("BtMenus::btType");
        TestSupport::recordConnectWarnings();
    }
    void cleanup() { QVERIFY(TestSupport::takeConnectWarnings().isEmpty()); }

    void formSlotsFindTheirButtons();
    void startValuesAndRange();
    void ok_data();
    void ok();
    void cancelKeepsValuesAndAsksForSelect();
    void tabVisitsTheFieldsInOrder();
};

void tst_DTableDlg::formSlotsFindTheirButtons()
{
    DTableDlg dialog(nullptr);
    const QMetaObject *meta = dialog.metaObject();
    int found = 0;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QString name = QString::fromLatin1(meta->method(i).name());
        if (!name.startsWith(QLatin1String("on_")) || !name.endsWith(QLatin1String("_clicked")))
            continue;
        const QString object = name.mid(3, name.size() - 3 - 8);
        QVERIFY2(dialog.findChild<QPushButton *>(object), qPrintable(object));
        ++found;
    }
    QCOMPARE(found, 2);
}

void tst_DTableDlg::startValuesAndRange()
{
    DTableDlg dialog(nullptr);
    auto *rows = dialog.findChild<QSpinBox *>(QStringLiteral("spinBox_Row"));
    auto *columns = dialog.findChild<QSpinBox *>(QStringLiteral("spinBox_Column"));
    QCOMPARE(rows->value(), 5);
    QCOMPARE(columns->value(), 3);
    QCOMPARE(rows->maximum(), 99);
    QCOMPARE(columns->minimum(), 0);
    QCOMPARE(dialog.size(), QSize(200, 135));
    QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
}

void tst_DTableDlg::ok_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("1 x 4") << 1 << 4 << false;
    QTest::newRow("4 x 0") << 4 << 0 << false;
    QTest::newRow("2 x 2") << 2 << 2 << true;
    QTest::newRow("99 x 99") << 99 << 99 << true;
    QTest::newRow("typed over the top") << 150 << 3 << true; // the box clamps to 99
}

void tst_DTableDlg::ok()
{
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(bool, accepted);
    DTableDlg dialog(nullptr);
    auto *rowBox = dialog.findChild<QSpinBox *>(QStringLiteral("spinBox_Row"));
    auto *columnBox = dialog.findChild<QSpinBox *>(QStringLiteral("spinBox_Column"));
    rowBox->setValue(rows);
    columnBox->setValue(columns);
    QSignalSpy sized(&dialog, &DTableDlg::signals_setTableRowColumn);
    bool stillOpen = false;
    TestSupport::answerNextModal([&](QWidget *shown) {
        QTest::mouseClick(shown->findChild<QPushButton *>(QStringLiteral("pushButton_ok")),
                          Qt::LeftButton);
        stillOpen = shown->isVisible();
        if (stillOpen)
            shown->hide();
    });
    const int result = dialog.exec();
    QCOMPARE(sized.count(), accepted ? 1 : 0);
    QCOMPARE(stillOpen, !accepted);
    // The view draws a table only after a run that ended accepted.
    QCOMPARE(result, int(accepted ? QDialog::Accepted : QDialog::Rejected));
    if (accepted) {
        QCOMPARE(sized.at(0).at(0).toInt(), qMin(rows, 99));
        QCOMPARE(sized.at(0).at(1).toInt(), columns);
    }
}

void tst_DTableDlg::cancelKeepsValuesAndAsksForSelect()
{
    DTableDlg dialog(nullptr);
    auto *rowBox = dialog.findChild<QSpinBox *>(QStringLiteral("spinBox_Row"));
    QSignalSpy sized(&dialog, &DTableDlg::signals_setTableRowColumn);
    QSignalSpy cancelled(&dialog, &DTableDlg::cancel);
    bool closedFirst = false;
    connect(&dialog, &DTableDlg::cancel, this, [&]() { closedFirst = !dialog.isVisible(); });
    TestSupport::answerNextModal([&](QWidget *shown) {
        rowBox->setValue(7);
        QTest::mouseClick(shown->findChild<QPushButton *>(QStringLiteral("pushButton_cancel")),
                          Qt::LeftButton);
    });
    dialog.exec();
    QCOMPARE(cancelled.count(), 1);
    QCOMPARE(cancelled.at(0).at(0).value<BtMenus::btType>(), BtMenus::btSelect);
    QVERIFY(closedFirst);
    QCOMPARE(sized.count(), 0);
    QCOMPARE(rowBox->value(), 7); // shown again next time
}

void tst_DTableDlg::tabVisitsTheFieldsInOrder()
{
    DTableDlg dialog(nullptr);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.findChild<QSpinBox *>(QStringLiteral("spinBox_Row"))->setFocus();
    QStringList visited;
    for (int i = 0; i < 5; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited,
             (QStringList{ "spinBox_Row", "spinBox_Column", "pushButton_ok", "pushButton_cancel",
                           "spinBox_Row" }));
}

QTEST_MAIN(tst_DTableDlg)
#include "tst_dtabledlg.moc"
