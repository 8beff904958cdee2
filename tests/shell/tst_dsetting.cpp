#include "shell/dsetting.h"
#include "shell/globals.h"
#include "support/testsupport.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using TestSupport::answerNextModal;
using TestSupport::clickButton;

// The preferences dialog driven as a user does: it is opened with exec(), edited, and closed
// with one of its buttons; questions and the colour dialog are answered like a user would.
class tst_DSetting : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void showsDefaultsWithoutStoredSettings();
    void cancelDropsChanges();
    void acceptStoresLowerCaseColourAndClampedInterval_data();
    void acceptStoresLowerCaseColourAndClampedInterval();
    void restoreQuestion_data();
    void restoreQuestion();
    void colourDialogStartsAtWhite();
    void selectedEntryIsReadable_data();
    void selectedEntryIsReadable();

private:
    struct Editors
    {
        QComboBox *interface;
        QComboBox *language;
        QSpinBox *autosave;
        QPushButton *colour;
    };
    static Editors editors(QWidget *dialog)
    {
        return { dialog->findChild<QComboBox *>("selInterface"),
                 dialog->findChild<QComboBox *>("selLanguage"),
                 dialog->findChild<QSpinBox *>("selAutosaveTime"),
                 dialog->findChild<QPushButton *>("pageColor") };
    }
    static QString stored(const char *key)
    {
        return settings.value(QStringLiteral("System/") + QLatin1String(key)).toString();
    }
};

void tst_DSetting::init()
{
    settings.clear();
    settings.sync();
}

void tst_DSetting::showsDefaultsWithoutStoredSettings()
{
    DSetting dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Preferencias"));
    QCOMPARE(dialog.size(), QSize(400, 300));
    QString shown;
    auto answered = answerNextModal([&](QWidget *modal) {
        const Editors e = editors(modal);
        shown = QStringLiteral("%1|%2|%3|%4")
                        .arg(e.interface->currentText(), e.language->currentText())
                        .arg(e.autosave->value())
                        .arg(e.colour->styleSheet().contains("rgb(255, 255, 255)"));
        QVERIFY(clickButton(modal, QStringLiteral("Cancelar")));
    });
    dialog.exec();
    QVERIFY(*answered);
    QCOMPARE(shown, QStringLiteral("Estandar|Español|1|1"));
    QVERIFY(!QFile::exists(QStringLiteral("init")));
}

void tst_DSetting::cancelDropsChanges()
{
    settings.setValue("System/Language", 2);
    DSetting dialog;
    answerNextModal([](QWidget *modal) {
        const Editors e = editors(modal);
        e.interface->setCurrentIndex(2);
        e.language->setCurrentIndex(5);
        e.autosave->setValue(30);
        clickButton(modal, QStringLiteral("Cancelar"));
    });
    dialog.exec();
    QCOMPARE(stored("Language"), QStringLiteral("2"));
    QVERIFY(stored("Interface").isEmpty());

    int languageShown = -1;
    answerNextModal([&](QWidget *modal) {
        languageShown = editors(modal).language->currentIndex();
        clickButton(modal, QStringLiteral("Cancelar"));
    });
    dialog.exec();
    QCOMPARE(languageShown, 2);
}

void tst_DSetting::acceptStoresLowerCaseColourAndClampedInterval_data()
{
    QTest::addColumn<QString>("storedAutosave");
    QTest::addColumn<QString>("storedColour");
    QTest::addColumn<QString>("writtenAutosave");
    QTest::addColumn<QString>("writtenColour");

    QTest::newRow("defaults") << "" << "" << "1" << "#ffffff";
    QTest::newRow("zero minutes") << "0" << "#ABCDEF" << "1" << "#abcdef";
    QTest::newRow("ninety minutes") << "90" << "#FF0000" << "60" << "#ff0000";
    QTest::newRow("not a number") << "often" << "#00ff00" << "1" << "#00ff00";
    QTest::newRow("unreadable colour") << "5" << "plaid" << "5" << "#ffffff";
}

void tst_DSetting::acceptStoresLowerCaseColourAndClampedInterval()
{
    QFETCH(QString, storedAutosave);
    QFETCH(QString, storedColour);
    QFETCH(QString, writtenAutosave);
    QFETCH(QString, writtenColour);
    if (!storedAutosave.isEmpty())
        settings.setValue("System/Autosave", storedAutosave);
    if (!storedColour.isEmpty())
        settings.setValue("System/PageColor", storedColour);

    DSetting dialog;
    answerNextModal([](QWidget *modal) { clickButton(modal, QStringLiteral("Aceptar")); });
    dialog.exec();
    QSettings onDisk(QStringLiteral("init"), QSettings::IniFormat);
    QCOMPARE(onDisk.value("System/Autosave").toString(), writtenAutosave);
    QCOMPARE(onDisk.value("System/PageColor").toString(), writtenColour);
    QCOMPARE(onDisk.value("System/Interface").toString(), QStringLiteral("0"));
    QCOMPARE(onDisk.value("System/Language").toString(), QStringLiteral("0"));
}

void tst_DSetting::restoreQuestion_data()
{
    QTest::addColumn<QString>("answer"); // a button text, or "Escape"
    QTest::addColumn<bool>("reset");
    QTest::newRow("Si") << "Si" << true;
    QTest::newRow("No") << "No" << false;
    QTest::newRow("Escape keeps the editors") << "Escape" << false;
}

void tst_DSetting::restoreQuestion()
{
    QFETCH(QString, answer);
    QFETCH(bool, reset);
    settings.setValue("System/Language", 3);
    settings.setValue("System/Autosave", 7);

    DSetting dialog;
    QString questionSeen;
    QString defaultAnswer;
    int languageAfter = -1;
    int autosaveAfter = -1;
    answerNextModal([&](QWidget *modal) {
        const Editors e = editors(modal);
        answerNextModal([&](QWidget *question) {
            auto *box = qobject_cast<QMessageBox *>(question);
            questionSeen = box->windowTitle() + QLatin1Char('|') + box->text();
            defaultAnswer = box->defaultButton()->text();
            if (answer == QLatin1String("Escape"))
                TestSupport::pressEscape(question);
            else
                clickButton(question, answer);
        });
        QTest::mouseClick(modal->findChild<QPushButton *>("restore"), Qt::LeftButton);
        languageAfter = e.language->currentIndex();
        autosaveAfter = e.autosave->value();
        clickButton(modal, QStringLiteral("Cancelar"));
    });
    dialog.exec();
    QCOMPARE(questionSeen, QStringLiteral("Atención|Restaurar Valores por Defecto"));
    QCOMPARE(defaultAnswer, QStringLiteral("No"));
    QCOMPARE(languageAfter, reset ? 0 : 3);
    QCOMPARE(autosaveAfter, reset ? 1 : 7);
    QCOMPARE(stored("Language"), QStringLiteral("3")); // restoring stores nothing
}

void tst_DSetting::colourDialogStartsAtWhite()
{
    settings.setValue("System/PageColor", "#102030");
    DSetting dialog;
    QColor initial;
    answerNextModal([&](QWidget *modal) {
        answerNextModal([&](QWidget *colourDialog) {
            auto *picker = qobject_cast<QColorDialog *>(colourDialog);
            initial = picker->currentColor();
            picker->setCurrentColor(QColor(1, 2, 3));
            picker->accept();
        });
        QTest::mouseClick(modal->findChild<QPushButton *>("pageColor"), Qt::LeftButton);
        clickButton(modal, QStringLiteral("Aceptar"));
    });
    dialog.exec();
    QCOMPARE(initial, QColor(Qt::white));
    QCOMPARE(stored("PageColor"), QStringLiteral("#010203"));
}

void tst_DSetting::selectedEntryIsReadable_data()
{
    QTest::addColumn<QString>("combo");
    QTest::newRow("interface") << "selInterface";
    QTest::newRow("language") << "selLanguage";
}

// The open list marks the current entry with a background that its text stands out from.
void tst_DSetting::selectedEntryIsReadable()
{
    QFETCH(QString, combo);
    DSetting dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *box = dialog.findChild<QComboBox *>(combo);
    QVERIFY(box);
    box->setCurrentIndex(1);
    box->showPopup();
    QAbstractItemView *list = box->view();
    QTRY_VERIFY(list->isVisible());
    const QRect row = list->visualRect(list->currentIndex());
    QVERIFY(row.isValid());
    const QImage shown = list->viewport()->grab(row).toImage();
    // The most common colour of the row is its background; the text is drawn over it.
    QHash<QRgb, int> counts;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            ++counts[shown.pixel(x, y)];
    }
    QRgb background = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(background))
            background = it.key();
    }
    const QColor text = list->palette().color(QPalette::HighlightedText);
    QVERIFY2(qAbs(qGray(background) - qGray(text.rgb())) > 80,
             qPrintable(QColor(background).name() + QStringLiteral(" under ") + text.name()));
    box->hidePopup();
}

QTEST_MAIN(tst_DSetting)
#include "tst_dsetting.moc"
