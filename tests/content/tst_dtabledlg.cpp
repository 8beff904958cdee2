#include "support/boardfixture.h"
#include "support/testsupport.h"

#include "board/dview.h"
#include "content/dtabledlg.h"

#include <QApplication>
#include <QMetaMethod>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QWindow>
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
    void reopenedItTakesANumberInTheRows_data();
    void reopenedItTakesANumberInTheRows();
};

namespace {

// One run of the table tool as the board starts it, answered by the user's hand; a run the
// hand left open is closed so the test goes on.
void runTableTool(DView *view, const std::function<void(QWidget *)> &hand)
{
    TestSupport::answerNextModal([hand](QWidget *dialog) {
        hand(dialog);
        if (dialog->isVisible())
            dialog->hide();
    });
    view->editSetTableDlg();
}

// Keys as the keyboard gives them: to the window, which hands them to its focus. The window
// manager makes a shown dialog the active window; the test platform has none.
void press(QWidget *dialog, const QList<Qt::Key> &keys)
{
    QApplication::setActiveWindow(dialog);
    QVERIFY(dialog->isActiveWindow());
    for (Qt::Key key : keys)
        QTest::keyClick(dialog->windowHandle(), key);
}

} // namespace

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

// However the last run ended, the next one starts in the rows box with its number selected:
// a number typed at once replaces it.
void tst_DTableDlg::reopenedItTakesANumberInTheRows_data()
{
    QTest::addColumn<QList<Qt::Key>>("keys"); // how the first run ends
    QTest::addColumn<QString>("button"); // then clicked, if any
    QTest::newRow("Cancelar clicked") << QList<Qt::Key>{} << "pushButton_cancel";
    QTest::newRow("Cancelar by the keyboard")
            << QList<Qt::Key>{ Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space } << "";
    QTest::newRow("Ok clicked") << QList<Qt::Key>{} << "pushButton_ok";
    QTest::newRow("Escape in the columns box")
            << QList<Qt::Key>{ Qt::Key_Tab, Qt::Key_Escape } << "";
}

void tst_DTableDlg::reopenedItTakesANumberInTheRows()
{
    QFETCH(QList<Qt::Key>, keys);
    QFETCH(QString, button);
    BoardFixture::Board board;
    DView *view = board.view();
    QString focus;
    runTableTool(view, [&](QWidget *dialog) {
        press(dialog, keys);
        if (!button.isEmpty())
            QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
        focus = dialog->focusWidget() ? dialog->focusWidget()->objectName() : QString();
    });
    QVERIFY2(!view->m_tableDlg->isVisible(), qPrintable(focus));
    QVERIFY(focus != QLatin1String("spinBox_Row"));

    QSignalSpy sized(view->m_tableDlg, &DTableDlg::signals_setTableRowColumn);
    runTableTool(view, [&](QWidget *dialog) {
        press(dialog, { Qt::Key_7 });
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("pushButton_ok")),
                          Qt::LeftButton);
    });
    QCOMPARE(sized.count(), 1);
    QCOMPARE(sized.at(0), (QVariantList{ 7, 3 }));
    QCOMPARE(view->getPenType(0), int(BtMenus::btTableTool));
}

QTEST_MAIN(tst_DTableDlg)
#include "tst_dtabledlg.moc"
